#include "folder_lock.h"

#include <windows.h>

#include "system_reason.h"
#include "win32_paths.h"
#include "texts.h"

namespace quilvane {

Result<FolderLock> FolderLock::Take(const std::string& folder, Use use) {
    const std::wstring path = NativePath(folder + kFolderLockName);
    // Opened by nobody else and deleted when the last handle goes, also when the holder is killed.
    for (int attempt = 0;; ++attempt) {
        HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (handle != INVALID_HANDLE_VALUE) return FolderLock(folder, reinterpret_cast<std::intptr_t>(handle));
        const DWORD error = GetLastError();
        if (error == ERROR_SHARING_VIOLATION) return Status::Fail(texts::FolderBusy(folder));
        // A lock file whose holder has just let go is refused until the system has deleted it.
        if (error == ERROR_ACCESS_DENIED && attempt < 20) {
            Sleep(10);
            continue;
        }
        if (use == Use::Read && (error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT))
            return FolderLock(folder, kNone);
        return Status::Fail(texts::FolderNotWritable(folder, SystemReason(error)));
    }
}

void FolderLock::CloseNative(NativeHandle handle) { CloseHandle(reinterpret_cast<HANDLE>(handle)); }

// The system deletes the lock file as its handle closes.
void FolderLock::Release() { handle_.Reset(); }

}  // namespace quilvane
