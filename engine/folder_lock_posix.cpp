#include "folder_lock.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "posix_owners.h"
#include "texts.h"

namespace quilvane {

Result<FolderLock> FolderLock::Take(const std::string& folder, Use use) {
    const std::string path = folder + kFolderLockName;
    // The holder removes the file before it lets go, so a file opened just before that is no
    // longer the lock: only a locked file that still has the name counts.
    for (;;) {
        UniqueFd opened(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644));
        const int fd = opened.get();
        if (fd < 0) {
            const int error = errno;
            if (use == Use::Read && (error == EACCES || error == EROFS || error == EPERM))
                return FolderLock(folder, kNone);
            return Status::Fail(texts::FolderNotWritable(folder, std::strerror(error)));
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            if (error == EWOULDBLOCK) return Status::Fail(texts::FolderBusy(folder));
            if (error == EINTR) continue;
            // A file system without locks (some network shares) cannot be guarded this way.
            return FolderLock(folder, kNone);
        }
        struct stat held {
        }, named{};
        if (::fstat(fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
            held.st_ino == named.st_ino)
            return FolderLock(folder, opened.Disown());
    }
}

void FolderLock::CloseNative(NativeHandle handle) { ::close(static_cast<int>(handle)); }

// The file goes while it is still locked, so nobody takes a lock on a name about to vanish.
void FolderLock::Release() {
    if (!handle_) return;
    ::unlink((folder_ + kFolderLockName).c_str());
    handle_.Reset();
}

}  // namespace quilvane
