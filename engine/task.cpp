#include "task.h"

#include "platform_file.h"
#include "task_steps.h"
#include "texts.h"

namespace quilvane {

TaskOutcome StartTask(const TaskInputs& inputs, TaskHost& host, const CopyLimits& limits) {
    const bool listMerge = !inputs.splitMode && inputs.listMode;
    const bool nothingToWorkOn = listMerge ? inputs.listEntries.empty() : !FileExists(inputs.sourcePath);
    if (nothingToWorkOn) return Stop(host, inputs.splitMode ? texts::kNoFileToSplit : texts::kNoFileToMerge);
    if (!FolderExists(inputs.targetFolder)) return Stop(host, texts::kNoTargetFolder);

    if (inputs.splitMode) return SplitFile(inputs, host, limits);
    return listMerge ? MergeFileList(inputs, host, limits) : MergeFromDescriptor(inputs, host, limits);
}

}  // namespace quilvane
