#include "task_steps.h"

#include <algorithm>

#include "output_moves.h"
#include "texts.h"

namespace quilvane {

TaskOutcome Stop(TaskHost& host, const std::string& message) {
    host.SetProgress(0);
    host.ShowNotice(message, NoticeKind::Failure);
    return TaskOutcome::Failed;
}

TaskOutcome Finish(TaskHost& host, const Status& outcome, const char* notice) {
    if (!outcome) return Stop(host, outcome.message());
    host.ShowNotice(notice, NoticeKind::Success);
    host.SetProgress(0);
    if (host.ClosesAfterSuccess()) host.CloseMainWindow();
    return TaskOutcome::Done;
}

Result<FolderLock> TakeTaskFolder(const std::string& folder, FolderLock::Use use, TaskHost& host) {
    Result<TakenFolder> taken = TakeFolder(folder, use);
    if (!taken) return taken.status();
    if (taken->rolledBack) host.ShowNotice(texts::RolledBack(folder), NoticeKind::Info);
    return std::move(taken->lock);
}

float ProgressPercent(std::uint64_t copied, std::uint64_t total) {
    return static_cast<float>(100.0 / static_cast<double>(total) * static_cast<double>(copied));
}

CopyBuffer::CopyBuffer(const CopyLimits& limits, std::uint64_t largestCopy)
    : size_(
          static_cast<std::size_t>(std::max<std::uint64_t>(1, std::min<std::uint64_t>(limits.chunkSize, largestCopy)))),
      bytes_(std::make_unique_for_overwrite<char[]>(size_)) {}

}  // namespace quilvane
