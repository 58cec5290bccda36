#include "platform_file.h"

#include <cerrno>
#include <cstdio>
#include <climits>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "posix_owners.h"
#include "texts.h"

namespace quilvane {

const char kPathSeparator = '/';
bool IsPathSeparator(char c) { return c == '/'; }
bool IsPlainFileName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}
bool SameFileName(const std::string& a, const std::string& b) { return a == b; }

namespace {

std::string Reason(int error) { return std::strerror(error); }
int Fd(std::intptr_t handle) { return static_cast<int>(handle); }

inline void CloseListing(DIR* listing) { ::closedir(listing); }
using FolderListing = Owned<DIR*, CloseListing>;

}  // namespace

Result<File> File::OpenForReading(const std::string& path) {
    // Without O_NONBLOCK opening a pipe would wait for a writer that may never come.
    UniqueFd opened(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    const int fd = opened.get();
    if (fd < 0) return Status::Fail(texts::OpenFailed(path, Reason(errno)));
    struct stat info {};
    const bool known = ::fstat(fd, &info) == 0;
    const int error = errno;
    if (known && S_ISREG(info.st_mode)) {
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        return File(opened.Disown(), path, path);
    }
    if (!known) return Status::Fail(texts::OpenFailed(path, Reason(error)));
    if (S_ISDIR(info.st_mode)) return Status::Fail(texts::OpenFailed(path, Reason(EISDIR)));
    return Status::Fail(texts::NotARegularFile(path));
}

Result<File> File::CreateNew(const std::string& path, const std::string& shownAs) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return Status::Fail(texts::CreateFailed(shownAs, Reason(errno)));
    return File(fd, path, shownAs);
}

void File::CloseNative(NativeHandle handle) { ::close(Fd(handle)); }

Result<std::uint64_t> File::Length() const {
    struct stat info {};
    if (::fstat(Fd(handle_.get()), &info) != 0) return Status::Fail(texts::ReadFailed(shown_, Reason(errno)));
    return static_cast<std::uint64_t>(info.st_size);
}

Status File::ReadAt(std::uint64_t offset, char* buffer, std::size_t size) const {
    while (size > 0) {
        const ssize_t got = ::pread(Fd(handle_.get()), buffer, size, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return Status::Fail(texts::ReadFailed(shown_, Reason(errno)));
        if (got == 0) return Status::Fail(texts::FileShrank(shown_));
        buffer += got;
        size -= static_cast<std::size_t>(got);
        offset += static_cast<std::uint64_t>(got);
    }
    return Status::Ok();
}

Status File::WriteAt(std::uint64_t offset, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t put = ::pwrite(Fd(handle_.get()), data, size, static_cast<off_t>(offset));
        if (put < 0 && errno == EINTR) continue;
        if (put < 0) return Status::Fail(texts::WriteFailed(shown_, Reason(errno)));
        // Nothing written and no error: the device takes no more, so waiting would never end.
        if (put == 0) return Status::Fail(texts::WriteFailed(shown_, Reason(ENOSPC)));
        data += put;
        size -= static_cast<std::size_t>(put);
        offset += static_cast<std::uint64_t>(put);
    }
    return Status::Ok();
}

Status File::CopyFrom(const File& source, std::uint64_t sourceOffset, std::uint64_t offset, std::uint64_t size,
                      char* buffer, std::size_t bufferSize, const StopFlag& stop) {
    // The kernel copies without the bytes passing through this process; where it cannot
    // (another file system, an old kernel), the buffered loop below takes over. It copies one
    // buffer's worth at a time, so a stop is seen as soon as in that loop.
    while (size > 0) {
        if (stop.Requested()) return Status::Fail(texts::kInterrupted);
        auto in = static_cast<off_t>(sourceOffset);
        auto out = static_cast<off_t>(offset);
        const std::size_t step = static_cast<std::size_t>(size < bufferSize ? size : bufferSize);
        const ssize_t moved = ::copy_file_range(Fd(source.handle_.get()), &in, Fd(handle_.get()), &out, step, 0);
        if (moved < 0 && errno == EINTR) continue;
        if (moved <= 0) break;
        sourceOffset += static_cast<std::uint64_t>(moved);
        offset += static_cast<std::uint64_t>(moved);
        size -= static_cast<std::uint64_t>(moved);
    }
    return CopyThroughBuffer(source, sourceOffset, offset, size, buffer, bufferSize, stop);
}

Status File::Flush() {
    if (::fsync(Fd(handle_.get())) != 0 && errno != EINVAL)
        return Status::Fail(texts::WriteFailed(shown_, Reason(errno)));
    return Status::Ok();
}

Status File::Close() {
    const int fd = Fd(handle_.Disown());
    if (fd >= 0 && ::close(fd) != 0) return Status::Fail(texts::WriteFailed(shown_, Reason(errno)));
    return Status::Ok();
}

PathKind KindOf(const std::string& path) {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0) return PathKind::Missing;
    if (S_ISREG(info.st_mode)) return PathKind::File;
    return S_ISDIR(info.st_mode) ? PathKind::Folder : PathKind::Other;
}

Result<std::uint64_t> FileLength(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return Status::Fail(texts::OpenFailed(path, Reason(errno)));
    return static_cast<std::uint64_t>(info.st_size);
}

bool IsReadOnly(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

Status RemoveFile(const std::string& path) {
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) return Status::Fail(texts::DeleteFailed(path, Reason(errno)));
    return Status::Ok();
}

Status MoveFileOver(const std::string& from, const std::string& to, const std::string& shownAs) {
    if (::rename(from.c_str(), to.c_str()) != 0) return Status::Fail(texts::ReplaceFailed(shownAs, Reason(errno)));
    return Status::Ok();
}

Status MoveFileToNewName(const std::string& from, const std::string& to, const std::string& shownAs) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return Status::Ok();
    // File systems that cannot refuse to replace get the plain rename; the name was free a moment ago.
    if (errno != EINVAL && errno != ENOSYS) return Status::Fail(texts::ReplaceFailed(shownAs, Reason(errno)));
    return MoveFileOver(from, to, shownAs);
}

Status ReplaceKeepingBackup(const std::string& replacement, const std::string& target, const std::string& backup,
                            const std::string& shownAs) {
    struct stat old {};
    if (::stat(target.c_str(), &old) != 0) return Status::Fail(texts::ReplaceFailed(shownAs, Reason(errno)));
    // Best effort: a file the user made private stays private.
    (void)::chmod(replacement.c_str(), old.st_mode & 07777);
    const bool linked = ::link(target.c_str(), backup.c_str()) == 0;
    if (!linked && ::rename(target.c_str(), backup.c_str()) != 0)
        return Status::Fail(texts::ReplaceFailed(shownAs, Reason(errno)));
    if (::rename(replacement.c_str(), target.c_str()) == 0) return Status::Ok();
    const int error = errno;
    if (linked)
        (void)::unlink(backup.c_str());
    else
        (void)::rename(backup.c_str(), target.c_str());
    return Status::Fail(texts::ReplaceFailed(shownAs, Reason(error)));
}

namespace {

// Syncs what a path names; file systems that keep nothing to sync for it count as done.
Status Flush(const std::string& path, int flags, const std::string& shownAs) {
    const UniqueFd opened(::open(path.c_str(), flags | O_CLOEXEC));
    if (!opened) return Status::Fail(texts::WriteFailed(shownAs, Reason(errno)));
    const bool synced = ::fsync(opened.get()) == 0 || errno == EINVAL || errno == EROFS || errno == ENOTSUP;
    const int error = errno;
    return synced ? Status::Ok() : Status::Fail(texts::WriteFailed(shownAs, Reason(error)));
}

}  // namespace

Status FlushToDisk(const std::string& path, const std::string& shownAs) { return Flush(path, O_RDONLY, shownAs); }

Status FlushFolder(const std::string& folder) {
    return Flush(folder.empty() ? "." : folder, O_RDONLY | O_DIRECTORY, folder);
}

Result<std::vector<std::string>> ListFolder(const std::string& folder) {
    const FolderListing listing(::opendir(folder.empty() ? "." : folder.c_str()));
    if (!listing) return Status::Fail(texts::OpenFailed(folder, Reason(errno)));
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(listing.get())) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    return names;
}

std::optional<FileIdentity> IdentityOf(const std::string& path) {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0) return std::nullopt;
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

std::size_t NameLength(std::string_view name) { return name.size(); }

std::size_t LongestNameIn(const std::string& folder) {
    const long longest = ::pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
    return longest > 0 ? static_cast<std::size_t>(longest) : 255;
}

bool PathLengthFits(const std::string& path) { return path.size() < PATH_MAX; }

}  // namespace quilvane
