// The parts of FolderLock that are the same on every platform.
#include "folder_lock.h"

#include <utility>

namespace quilvane {

FolderLock& FolderLock::operator=(FolderLock&& other) noexcept {
    if (this != &other) {
        Release();
        folder_ = std::move(other.folder_);
        handle_ = std::move(other.handle_);
    }
    return *this;
}

FolderLock::~FolderLock() { Release(); }

}  // namespace quilvane
