#include "whole_file.h"

#include <exception>

#include "mail_texts.h"
#include "platform_file.h"
#include "texts.h"

namespace quilvane::mail {

Result<std::string> ReadWholeFile(const std::string& path) {
    Result<File> file = File::OpenForReading(path);
    if (!file) return file.status();
    Result<std::uint64_t> length = file->Length();
    if (!length) return length.status();
    std::string bytes;
    try {
        bytes.resize(static_cast<std::size_t>(*length));
    } catch (const std::exception&) {  // no memory for it, or more than a string can hold
        return Status::Fail(quilvane::texts::ReadFailed(path, texts::kTooLargeToHold));
    }
    if (Status read = file->ReadAt(0, bytes.data(), bytes.size()); !read) return read;
    return bytes;
}

}  // namespace quilvane::mail
