#include "task_steps.h"

#include <algorithm>

#include "output_moves.h"
#include "texts.h"

namespace quilvane {

TaskResult Finish(std::vector<Notice> notices, const Status& outcome, const char* success) {
    TaskResult result{TaskOutcome::Done, std::move(notices)};
    if (outcome) {
        result.notices.push_back({success, NoticeKind::Success});
        return result;
    }
    // Only a stop that cleaned up after itself says exactly this; one whose rollback failed says more.
    result.outcome = outcome.message() == texts::kInterrupted ? TaskOutcome::Stopped : TaskOutcome::Failed;
    result.notices.push_back({outcome.message(), NoticeKind::Failure});
    return result;
}

Result<FolderLock> TakeTaskFolder(const std::string& folder, FolderLock::Use use, std::vector<Notice>& notices) {
    Result<TakenFolder> taken = TakeFolder(folder, use);
    if (!taken) return taken.status();
    if (taken->rolledBack) notices.push_back({texts::RolledBack(folder), NoticeKind::Info});
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
