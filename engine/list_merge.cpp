// Joining any list of files, in list order, into BASE.txt. The engine copies the entries
// itself, on every platform, and leaves the user the batch file of copy commands that does the
// same; the joined file and the batch file take their places together, and only once the
// joined file is complete.

#include <algorithm>

#include "formats.h"
#include "paths.h"
#include "staged_files.h"
#include "task_steps.h"
#include "texts.h"

namespace quilvane {
namespace {

// Each entry must be a regular file that neither output would replace; gives the joined length.
Result<std::uint64_t> CheckEntries(const std::vector<std::string>& entries, const StagedFiles& staged,
                                   const StopFlag& stop) {
    std::uint64_t total = 0;
    for (std::size_t index = 0; index < entries.size(); ++index) {
        if (StopDue(stop, index)) return Status::Fail(texts::kInterrupted);
        const std::string& entry = entries[index];
        const PathKind kind = KindOf(entry);
        if (kind == PathKind::Missing) return Status::Fail(texts::ListEntryMissing(entry));
        if (kind != PathKind::File) return Status::Fail(texts::NotARegularFile(entry));
        Result<std::uint64_t> length = FileLength(entry);
        if (!length) return length.status();
        total += *length;
        for (std::size_t output = 0; output < 2; ++output)
            if (SameFile(staged.FinalPath(output), entry))
                return Status::Fail(texts::WouldOverwriteInput(staged.FinalPath(output), entry));
    }
    return total;
}

// Appends every entry to `joined`, block by block.
Status Join(const std::vector<std::string>& entries, File& joined, const StopFlag& stop, const CopyLimits& limits) {
    CopyBuffer buffer(limits, limits.chunkSize);
    std::uint64_t offset = 0;
    for (const std::string& entry : entries) {
        Result<File> source = File::OpenForReading(entry);
        if (!source) return source.status();
        Result<std::uint64_t> length = source->Length();
        if (!length) return length.status();
        for (std::uint64_t done = 0; done < *length;) {
            if (stop.Requested()) return Status::Fail(texts::kInterrupted);
            const std::uint64_t block = std::min(limits.blockSize, *length - done);
            if (Status copied =
                    joined.CopyFrom(*source, done, offset + done, block, buffer.data(), buffer.size(), stop);
                !copied)
                return copied;
            done += block;
        }
        offset += *length;
    }
    return Status::Ok();
}

}  // namespace

Status MergeFileList(const TaskInputs& inputs, TaskRun& run) {
    const std::vector<std::string>& entries = inputs.listEntries;
    const bool selected = inputs.selectedEntry >= 0 && static_cast<std::size_t>(inputs.selectedEntry) < entries.size();
    const std::string base = BaseOf(entries[selected ? static_cast<std::size_t>(inputs.selectedEntry) : 0]);
    const std::string folder = EnsureTrailingSlash(inputs.targetFolder);

    Result<FolderLock> taken = TakeTaskFolder(folder, FolderLock::Use::Write, run.notices);
    if (!taken) return taken.status();
    StagedFiles staged(*taken, run.stop);
    staged.AfterEachMove(run.limits.afterEachMove);
    if (Status planned = staged.Plan(base + ".txt"); !planned) return planned;
    if (Status planned = staged.Plan(base + ".bat"); !planned) return planned;
    Result<std::uint64_t> expectedLength = CheckEntries(entries, staged, run.stop);
    if (!expectedLength) return expectedLength.status();
    Result<std::string> batch = ListMergeBatchLine(entries, folder, base);
    if (!batch) return batch.status();

    Result<File> joined = staged.Create(0);
    if (!joined) return joined.status();
    if (Status copied = Join(entries, *joined, run.stop, run.limits); !copied) return copied;
    // An entry that changed while it was copied would leave a join that is no longer theirs.
    Result<std::uint64_t> joinedLength = joined->Length();
    if (!joinedLength) return joinedLength.status();
    if (*joinedLength != *expectedLength)
        return Status::Fail(texts::JoinedLengthWrong(staged.FinalPath(0), *joinedLength, *expectedLength));
    if (Status closed = joined->Close(); !closed) return closed;
    if (Status written = staged.Write(1, *batch); !written) return written;
    return staged.Commit();
}

}  // namespace quilvane
