#include "task.h"

#include "platform_file.h"
#include "task_steps.h"
#include "texts.h"

namespace quilvane {
namespace {

Status CheckThenRun(const TaskInputs& inputs, TaskRun& run) {
    const bool listMerge = !inputs.splitMode && inputs.listMode;
    const bool nothingToWorkOn = listMerge ? inputs.listEntries.empty() : !FileExists(inputs.sourcePath);
    if (nothingToWorkOn) return Status::Fail(inputs.splitMode ? texts::kNoFileToSplit : texts::kNoFileToMerge);
    if (!FolderExists(inputs.targetFolder)) return Status::Fail(texts::kNoTargetFolder);

    if (inputs.splitMode) return SplitFile(inputs, run);
    return listMerge ? MergeFileList(inputs, run) : MergeFromDescriptor(inputs, run);
}

}  // namespace

TaskResult RunTask(const TaskInputs& inputs, const TaskOptions& options, const TaskProgress& progress,
                   const StopFlag& stop, const CopyLimits& limits) {
    TaskRun run{options, progress, stop, limits, {}};
    const Status outcome = CheckThenRun(inputs, run);
    return Finish(std::move(run.notices), outcome, inputs.splitMode ? texts::kSplitDone : texts::kMergeDone);
}

}  // namespace quilvane
