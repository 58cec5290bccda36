#include "whole_file.h"

#include <algorithm>
#include <new>

#include "platform_file.h"
#include "texts.h"

namespace quilvane {

Result<std::string> ReadWholeFile(const std::string& path, std::uint64_t limit) {
    Result<File> file = File::OpenForReading(path);
    if (!file) return file.status();
    Result<std::uint64_t> length = file->Length();
    if (!length) return length.status();
    std::string bytes;
    // The length is checked as 64 bits, before any narrowing to this process's size_t.
    const std::uint64_t largest = std::min<std::uint64_t>(limit, bytes.max_size());
    if (*length > largest) return Status::Fail(texts::FileTooLarge(path, *length, largest));
    try {
        bytes.resize(static_cast<std::size_t>(*length));
    } catch (const std::bad_alloc&) {
        return Status::Fail(texts::FileTooLargeForMemory(path, *length));
    }
    if (Status read = file->ReadAt(0, bytes.data(), bytes.size()); !read) return read;
    return bytes;
}

}  // namespace quilvane
