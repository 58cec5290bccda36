// Cutting a file into numbered pieces, with the descriptor that lets a merge rebuild it.
// Everything that could stop a split is settled before its first byte is written; the pieces
// and the descriptor are written under temporary names and take their places only together.

#include <algorithm>
#include <limits>
#include <optional>

#include "block_walk.h"
#include "folder_lock.h"
#include "formats.h"
#include "paths.h"
#include "staged_files.h"
#include "task_steps.h"
#include "texts.h"

namespace quilvane {
namespace {

// The size field's value; a number too large for any file is capped, never wrapped.
std::uint64_t SizeValue(const std::string& digits) {
    constexpr std::uint64_t kCap = std::numeric_limits<std::uint64_t>::max() / (1024 * 1024);
    std::uint64_t value = 0;
    for (char c : digits) value = std::min(kCap, value * 10 + static_cast<unsigned>(c - '0'));
    return value;
}

struct SplitJob {
    std::string source;
    std::string folder;  // T
    std::string name;
    std::string base;
    std::string sizeText;
    char unit;
    BlockPlan plan;

    std::string DescriptorPath() const { return folder + base + ".hpe"; }
    std::string BatchPath() const { return folder + base + ".bat"; }
};

std::vector<std::string> PieceNames(std::uint64_t count) {
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(count));
    for (std::uint64_t number = 1; number <= count; ++number) names.push_back(PieceFileName(number));
    return names;
}

// The descriptor's line, refused unless a merge will read it back exactly as written (a size
// text of thousands of leading zeros would not).
Result<std::string> DescriptorLine(const SplitJob& job) {
    Result<std::string> line =
        MergeDescriptorLine(job.name, job.sizeText, job.unit, job.plan.blockCount, job.plan.sourceLength);
    if (!line) return line;
    Result<MergeDescriptor> back = ParseMergeDescriptor(*line, job.DescriptorPath());
    if (!back || back->name != job.name || back->sizeText != job.sizeText + job.unit ||
        back->blockCount != job.plan.blockCount || back->sourceLength != job.plan.sourceLength)
        return Status::Fail(texts::SizeTextUnreadable(job.sizeText));
    return line;
}

// The batch file that rejoins the pieces with the system's copy command.
Result<std::string> SplitBatch(const SplitJob& job) {
    if (SameFile(job.BatchPath(), job.source)) return Status::Fail(texts::WouldOverwriteInput(job.BatchPath(), job.source));
    if (Status fits = CheckOutput(job.BatchPath()); !fits) return fits;
    return SplitBatchLine(PieceNames(job.plan.pieceCount()), job.folder, job.name);
}

// Which planned output, if any, is the source itself under another name.
std::optional<std::string> OutputThatIsSource(const SplitJob& job) {
    if (SameFile(job.DescriptorPath(), job.source)) return job.DescriptorPath();
    for (std::uint64_t number = 1; number <= job.plan.pieceCount(); ++number)
        if (const std::string piece = job.folder + PieceFileName(number); SameFile(piece, job.source)) return piece;
    return std::nullopt;
}

bool IsDescriptorName(const std::string& name) {
    if (name.size() <= 4) return false;
    std::string extension = name.substr(name.size() - 4);
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return extension == ".hpe";
}

// A descriptor in the target folder whose pieces are there and would be overwritten: one of
// another name, or this one when it belongs to another source. Piece names carry nothing of
// their source, so such a split would silently destroy the other file's pieces.
std::optional<std::string> DescriptorOfOtherPieces(const SplitJob& job) {
    Result<std::vector<std::string>> names = ListFolder(job.folder);
    if (!names) return std::nullopt;
    for (const std::string& entry : *names) {
        if (!IsDescriptorName(entry)) continue;
        const std::string path = job.folder + entry;
        Result<MergeDescriptor> other = ReadMergeDescriptor(path);
        if (!other) continue;  // no descriptor a merge could use
        if (SameFileName(entry, NameOf(job.DescriptorPath())) && SameFileName(other->name, job.name)) continue;
        const BlockPlan plan = BlockPlan::For(other->sourceLength, other->pieceSize, kCopyBlockSize);
        const std::uint64_t shared = std::min(plan.pieceCount(), job.plan.pieceCount());
        for (std::uint64_t number = 1; number <= shared; ++number)
            if (KindOf(job.folder + PieceFileName(number)) == PathKind::File) return path;
    }
    return std::nullopt;
}

Status CutIntoPieces(const TaskInputs& inputs, TaskHost& host, const CopyLimits& limits) {
    // The size goes into the descriptor as typed, so it must be digits and nothing else.
    if (inputs.sizeText.find_first_not_of("0123456789") != std::string::npos)
        return Status::Fail(texts::SizeNotANumber(inputs.sizeText));
    const std::uint64_t value = SizeValue(inputs.sizeText);
    if (value < 1) return Status::Fail(texts::kSizeBelowOne);

    Result<File> source = File::OpenForReading(inputs.sourcePath);
    if (!source) return source.status();
    Result<std::uint64_t> sourceLength = source->Length();
    if (!sourceLength) return sourceLength.status();
    const bool megabytes = inputs.unit == SizeUnit::Megabytes;
    const std::uint64_t pieceSize = value * (megabytes ? 1024 * 1024 : 1024);
    if (*sourceLength < pieceSize) return Status::Fail(texts::kNoNeedToSplit);

    const SplitJob job{inputs.sourcePath, EnsureTrailingSlash(inputs.targetFolder), NameOf(inputs.sourcePath),
                       BaseOf(inputs.sourcePath), inputs.sizeText, megabytes ? 'm' : 'k',
                       BlockPlan::For(*sourceLength, pieceSize, limits.blockSize)};
    Result<std::string> descriptor = DescriptorLine(job);
    if (!descriptor) return descriptor.status();
    // From here the folder is this task's: what it finds there stays so until the task ends.
    Result<FolderLock> folder = TakeTaskFolder(job.folder, FolderLock::Use::Write, host);
    if (!folder) return folder.status();
    if (auto clash = OutputThatIsSource(job)) return Status::Fail(texts::WouldOverwriteInput(*clash, job.source));
    if (host.WantsSplitBatchFile())
        if (Result<std::string> batch = SplitBatch(job); !batch) return batch.status();
    if (auto other = DescriptorOfOtherPieces(job)) return Status::Fail(texts::PiecesOfAnotherFile(*other));

    StagedFiles staged(*folder);
    staged.AfterEachMove(limits.afterEachMove);
    if (Status planned = staged.Plan(NameOf(job.DescriptorPath())); !planned) return planned;
    for (std::uint64_t number = 1; number <= job.plan.pieceCount(); ++number)
        if (Status planned = staged.Plan(PieceFileName(number)); !planned) return planned;

    if (Status written = staged.Write(0, *descriptor); !written) return written;

    CopyBuffer buffer(limits, std::min(pieceSize, limits.blockSize));
    std::optional<File> piece;
    Status copied = WalkBlocks(job.plan, host, [&](const Block& block) {
        if (block.offset == 0) {
            Result<File> created = staged.Create(block.piece + 1);
            if (!created) return created.status();
            piece.emplace(std::move(*created));
        }
        if (Status moved = piece->CopyFrom(*source, block.piece * pieceSize + block.offset, block.offset, block.length,
                                           buffer.data(), buffer.size());
            !moved)
            return moved;
        if (!block.endsPiece) return Status::Ok();
        Status closed = piece->Close();
        piece.reset();
        return closed;
    });
    if (!copied) return copied;
    // Asked again now, so a change during the copy counts; the batch file takes its place with
    // the pieces, never without them.
    if (host.WantsSplitBatchFile()) {
        Result<std::string> batch = SplitBatch(job);
        if (!batch) return batch.status();
        if (Status planned = staged.Plan(NameOf(job.BatchPath())); !planned) return planned;
        if (Status written = staged.Write(job.plan.pieceCount() + 1, *batch); !written) return written;
    }
    return staged.Commit();
}

}  // namespace

TaskOutcome SplitFile(const TaskInputs& inputs, TaskHost& host, const CopyLimits& limits) {
    return Finish(host, CutIntoPieces(inputs, host, limits), texts::kSplitDone);
}

}  // namespace quilvane
