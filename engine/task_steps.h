#pragma once
// Steps the three tasks share. Internal to the engine.

#include <cstdint>
#include <memory>
#include <string>

#include "folder_lock.h"
#include "status.h"
#include "task.h"

namespace quilvane {

// Tells the user why the task stopped and leaves the progress bar empty.
TaskOutcome Stop(TaskHost& host, const std::string& message);

// The end of a task: on failure as Stop; on success the notice, the empty progress bar and,
// when the user asked for it, the main window closed.
TaskOutcome Finish(TaskHost& host, const Status& outcome, const char* notice);

// Takes a folder for the task (see TakeFolder) and tells the user when a dead run's moves there
// had to be rolled back first.
Result<FolderLock> TakeTaskFolder(const std::string& folder, FolderLock::Use use, TaskHost& host);

// Percentage done after `copied` of `total` bytes, as the progress bar takes it.
float ProgressPercent(std::uint64_t copied, std::uint64_t total);

// Memory for copies that fall back to reading and writing: never more than the limits allow,
// and left untouched (so never paged in) while the kernel does the copying.
class CopyBuffer {
public:
    CopyBuffer(const CopyLimits& limits, std::uint64_t largestCopy);
    char* data() { return bytes_.get(); }
    std::size_t size() const { return size_; }

private:
    std::size_t size_;
    std::unique_ptr<char[]> bytes_;
};

}  // namespace quilvane
