#pragma once
// One task at a time writes into a folder: a task holds the folder's lock for its whole length,
// and a second task (another window, another run of the command-line tool, another task of the
// same program) that would write there is refused at once. The lock is a small file in the
// folder that the system releases when its holder ends, however it ends; the holder removes
// it when done.

#include <cstdint>
#include <string>

#include "owned.h"
#include "status.h"

namespace quilvane {

class FolderLock {
public:
    enum class Use {
        Write,  // the task writes there: no lock, no task
        Read,   // the task only reads there: a folder nobody can write to needs no lock
    };
    // `folder` ends in the separator, or is empty for the current folder.
    static Result<FolderLock> Take(const std::string& folder, Use use);

    FolderLock(FolderLock&& other) noexcept = default;
    FolderLock& operator=(FolderLock&& other) noexcept;
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    ~FolderLock();

    const std::string& folder() const { return folder_; }
    // False for a read-only folder taken for reading: nothing can be changed there.
    bool held() const { return static_cast<bool>(handle_); }

private:
    using NativeHandle = std::intptr_t;
    // No lock file open, on both platforms (INVALID_HANDLE_VALUE, no descriptor).
    static constexpr NativeHandle kNone = -1;
    static void CloseNative(NativeHandle handle);
    FolderLock(std::string folder, NativeHandle handle) : folder_(std::move(folder)), handle_(handle) {}
    // Lets go of the lock, the platform's way; moving another lock in lets go first.
    void Release();

    std::string folder_;
    Owned<NativeHandle, CloseNative, kNone> handle_;
};

// The lock file's name, which no task takes for an output.
inline constexpr const char* kFolderLockName = ".quilvane.lock";

}  // namespace quilvane
