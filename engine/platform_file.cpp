// The parts of File that are the same on every platform.
#include "platform_file.h"

#include "texts.h"

namespace quilvane {

Status File::CopyThroughBuffer(const File& source, std::uint64_t sourceOffset, std::uint64_t offset, std::uint64_t size,
                               char* buffer, std::size_t bufferSize, const StopFlag& stop) {
    while (size > 0) {
        if (stop.Requested()) return Status::Fail(texts::kInterrupted);
        const std::size_t chunk = size < bufferSize ? static_cast<std::size_t>(size) : bufferSize;
        if (Status read = source.ReadAt(sourceOffset, buffer, chunk); !read) return read;
        if (Status written = WriteAt(offset, buffer, chunk); !written) return written;
        sourceOffset += chunk;
        offset += chunk;
        size -= chunk;
    }
    return Status::Ok();
}

bool SameFile(const std::string& a, const std::string& b) {
    const std::optional<FileIdentity> first = IdentityOf(a);
    return first && first == IdentityOf(b);
}

}  // namespace quilvane
