#pragma once
// Steps the three tasks share. Internal to the engine.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "folder_lock.h"
#include "status.h"
#include "task.h"

namespace quilvane {

// One task under way: what RunTask was handed, and the notices said on the way.
struct TaskRun {
    const TaskOptions& options;
    const TaskProgress& progress;
    const StopFlag& stop;
    const CopyLimits& limits;
    std::vector<Notice> notices;

    bool WantsSplitBatchFile() const { return options.wantsSplitBatchFile && options.wantsSplitBatchFile(); }
    void Report(float percent) const {
        if (progress) progress(percent);
    }
};

// The three tasks, after RunTask's checks.
Status SplitFile(const TaskInputs& inputs, TaskRun& run);
Status MergeFromDescriptor(const TaskInputs& inputs, TaskRun& run);
Status MergeFileList(const TaskInputs& inputs, TaskRun& run);

// The end of a task: after the notices said on the way, `success` or the reason it stopped.
TaskResult Finish(std::vector<Notice> notices, const Status& outcome, const char* success);

// Takes a folder for the task (see TakeFolder) and adds to `notices` when a dead run's moves
// there had to be rolled back first.
Result<FolderLock> TakeTaskFolder(const std::string& folder, FolderLock::Use use, std::vector<Notice>& notices);

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
