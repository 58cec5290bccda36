#include "platform_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

#include "texts.h"

namespace quilvane {

const char kPathSeparator = '/';
bool IsPathSeparator(char c) { return c == '/'; }
bool IsPlainFileName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

namespace {

std::string Reason(int error) { return std::strerror(error); }
int Fd(std::intptr_t handle) { return static_cast<int>(handle); }

}  // namespace

Result<File> File::OpenForReading(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return Status::Fail(texts::OpenFailed(path, Reason(errno)));
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(fd);
        return Status::Fail(texts::OpenFailed(path, Reason(EISDIR)));
    }
    return File(fd, path);
}

Result<File> File::Create(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return Status::Fail(texts::CreateFailed(path, Reason(errno)));
    return File(fd, path);
}

Result<File> File::CreateTemporaryBeside(const std::string& path) {
    std::random_device entropy;
    for (int attempt = 0;; ++attempt) {
        const std::string candidate = path + ".quilvane-" + std::to_string(entropy() % 1000000) + ".tmp";
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) return File(fd, candidate);
        if (errno != EEXIST || attempt == 100) return Status::Fail(texts::CreateFailed(candidate, Reason(errno)));
    }
}

File::File(File&& other) noexcept : handle_(other.handle_), path_(std::move(other.path_)) { other.handle_ = -1; }

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        Release();
        handle_ = other.handle_;
        path_ = std::move(other.path_);
        other.handle_ = -1;
    }
    return *this;
}

File::~File() { Release(); }

void File::Release() {
    if (handle_ >= 0) ::close(Fd(handle_));
    handle_ = -1;
}

Result<std::uint64_t> File::Length() const {
    struct stat info {};
    if (::fstat(Fd(handle_), &info) != 0) return Status::Fail(texts::ReadFailed(path_, Reason(errno)));
    return static_cast<std::uint64_t>(info.st_size);
}

Status File::ReadAt(std::uint64_t offset, char* buffer, std::size_t size) const {
    while (size > 0) {
        const ssize_t got = ::pread(Fd(handle_), buffer, size, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return Status::Fail(texts::ReadFailed(path_, Reason(errno)));
        if (got == 0) return Status::Fail(texts::FileShrank(path_));
        buffer += got;
        size -= static_cast<std::size_t>(got);
        offset += static_cast<std::uint64_t>(got);
    }
    return Status::Ok();
}

Status File::WriteAt(std::uint64_t offset, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t put = ::pwrite(Fd(handle_), data, size, static_cast<off_t>(offset));
        if (put < 0 && errno == EINTR) continue;
        if (put < 0) return Status::Fail(texts::WriteFailed(path_, Reason(errno)));
        data += put;
        size -= static_cast<std::size_t>(put);
        offset += static_cast<std::uint64_t>(put);
    }
    return Status::Ok();
}

Status File::CopyFrom(const File& source, std::uint64_t sourceOffset, std::uint64_t offset,
                      std::uint64_t size, char* buffer, std::size_t bufferSize) {
    // The kernel copies without the bytes passing through this process; where it cannot
    // (another file system, an old kernel), the buffered loop below takes over.
    while (size > 0) {
        auto in = static_cast<off_t>(sourceOffset);
        auto out = static_cast<off_t>(offset);
        const ssize_t moved = ::copy_file_range(Fd(source.handle_), &in, Fd(handle_), &out, size, 0);
        if (moved < 0 && errno == EINTR) continue;
        if (moved <= 0) break;
        sourceOffset += static_cast<std::uint64_t>(moved);
        offset += static_cast<std::uint64_t>(moved);
        size -= static_cast<std::uint64_t>(moved);
    }
    while (size > 0) {
        const std::size_t chunk = size < bufferSize ? static_cast<std::size_t>(size) : bufferSize;
        if (Status read = source.ReadAt(sourceOffset, buffer, chunk); !read) return read;
        if (Status written = WriteAt(offset, buffer, chunk); !written) return written;
        sourceOffset += chunk;
        offset += chunk;
        size -= chunk;
    }
    return Status::Ok();
}

Status File::Close() {
    const int fd = Fd(handle_);
    handle_ = -1;
    if (fd >= 0 && ::close(fd) != 0) return Status::Fail(texts::WriteFailed(path_, Reason(errno)));
    return Status::Ok();
}

bool FileExists(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool FolderExists(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

Result<std::uint64_t> FileLength(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return Status::Fail(texts::OpenFailed(path, Reason(errno)));
    return static_cast<std::uint64_t>(info.st_size);
}

Status RemoveFile(const std::string& path) {
    if (::unlink(path.c_str()) != 0 && errno != ENOENT)
        return Status::Fail(texts::DeleteFailed(path, Reason(errno)));
    return Status::Ok();
}

Status MoveFileOver(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) != 0) return Status::Fail(texts::ReplaceFailed(to, Reason(errno)));
    return Status::Ok();
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat first {}, second {};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

}  // namespace quilvane
