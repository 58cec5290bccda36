// Cutting a file into numbered pieces, with the descriptor that lets a merge rebuild it.
// Everything that could stop a split is settled before its first byte is written; the pieces
// and the descriptor are written under temporary names and take their places only together.

#include <algorithm>
#include <limits>
#include <optional>

#include "block_walk.h"
#include "checksum_list.h"
#include "folder_lock.h"
#include "formats.h"
#include "paths.h"
#include "piece_hasher.h"
#include "staged_files.h"
#include "task_steps.h"
#include "texts.h"
#include "whole_file.h"

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
    std::string ListPath() const { return folder + ChecksumListName(base); }
    std::string BatchPath() const { return folder + base + ".bat"; }
};

// Every piece's name, in order.
Result<std::vector<std::string>> PieceNames(std::uint64_t count, const StopFlag& stop) {
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(count));
    for (std::uint64_t number = 1; number <= count; ++number) {
        if (StopDue(stop, number)) return Status::Fail(texts::kInterrupted);
        names.push_back(PieceFileName(number));
    }
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
Result<std::string> SplitBatch(const SplitJob& job, const StopFlag& stop) {
    if (SameFile(job.BatchPath(), job.source))
        return Status::Fail(texts::WouldOverwriteInput(job.BatchPath(), job.source));
    if (Status fits = CheckOutput(job.BatchPath()); !fits) return fits;
    Result<std::vector<std::string>> names = PieceNames(job.plan.pieceCount(), stop);
    if (!names) return names.status();
    return SplitBatchLine(*names, job.folder, job.name);
}

// Fails when a planned output is the source itself under another name.
Status CheckNoOutputIsTheSource(const SplitJob& job, const StopFlag& stop) {
    for (const std::string& path : {job.DescriptorPath(), job.ListPath()})
        if (SameFile(path, job.source)) return Status::Fail(texts::WouldOverwriteInput(path, job.source));
    for (std::uint64_t number = 1; number <= job.plan.pieceCount(); ++number) {
        if (StopDue(stop, number)) return Status::Fail(texts::kInterrupted);
        if (const std::string piece = job.folder + PieceFileName(number); SameFile(piece, job.source))
            return Status::Fail(texts::WouldOverwriteInput(piece, job.source));
    }
    return Status::Ok();
}

bool HasExtension(const std::string& name, std::string_view extension) {
    if (name.size() <= extension.size()) return false;
    std::string ending = name.substr(name.size() - extension.size());
    for (char& c : ending)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return ending == extension;
}

// Whether a listed name is one of the first `count` pieces.
bool IsPieceAmongFirst(const std::string& name, std::uint64_t count) {
    const std::size_t digits = name.size() > 3 ? name.size() - 3 : 0;
    if (digits < 3 || digits > 19 || name.compare(digits, 3, ".pe") != 0 ||
        name.find_first_not_of("0123456789") != digits)
        return false;
    const std::uint64_t number = std::stoull(name.substr(0, digits));
    return number >= 1 && number <= count && PieceFileName(number) == name;
}

// Reading a list only to learn which pieces it names is bounded: one of more pieces is not
// looked into.
constexpr std::uint64_t kMostPiecesListed = 1'000'000;

// A checksum list of another base name that names pieces a split would overwrite. Answers no
// once a stop is requested.
bool ListsOtherPiecesHere(const SplitJob& job, const std::string& entry, const StopFlag& stop) {
    if (!HasExtension(entry, ".sha256") || SameFileName(entry, NameOf(job.ListPath()))) return false;
    Result<std::string> text = ReadWholeFile(job.folder + entry, LongestChecksumList(kMostPiecesListed));
    Result<std::vector<ListedPiece>> listed =
        text ? ParseChecksumList(*text) : Result<std::vector<ListedPiece>>(text.status());
    if (!listed) return false;  // no list a merge could use
    for (std::size_t index = 0; index < listed->size(); ++index) {
        if (StopDue(stop, index)) return false;
        const std::string& name = (*listed)[index].name;
        if (IsPieceAmongFirst(name, job.plan.pieceCount()) && KindOf(job.folder + name) == PathKind::File) return true;
    }
    return false;
}

// Fails when a descriptor or checksum list in the target folder has pieces there that would be
// overwritten: one of another name, or this descriptor when it belongs to another source. Piece
// names carry nothing of their source, so such a split would silently destroy the other
// file's pieces.
Status CheckNoOtherPiecesHere(const SplitJob& job, const StopFlag& stop) {
    Result<std::vector<std::string>> names = ListFolder(job.folder);
    if (!names) return Status::Ok();
    for (const std::string& entry : *names) {
        if (ListsOtherPiecesHere(job, entry, stop)) return Status::Fail(texts::PiecesOfAnotherFile(job.folder + entry));
        if (stop.Requested()) return Status::Fail(texts::kInterrupted);
        if (!HasExtension(entry, ".hpe")) continue;
        const std::string path = job.folder + entry;
        Result<MergeDescriptor> other = ReadMergeDescriptor(path);
        if (!other) continue;  // no descriptor a merge could use
        if (SameFileName(entry, NameOf(job.DescriptorPath())) && SameFileName(other->name, job.name)) continue;
        const BlockPlan plan = BlockPlan::For(other->sourceLength, other->pieceSize, kCopyBlockSize);
        const std::uint64_t shared = std::min(plan.pieceCount(), job.plan.pieceCount());
        for (std::uint64_t number = 1; number <= shared; ++number) {
            if (StopDue(stop, number)) return Status::Fail(texts::kInterrupted);
            if (KindOf(job.folder + PieceFileName(number)) == PathKind::File)
                return Status::Fail(texts::PiecesOfAnotherFile(path));
        }
    }
    return Status::Ok();
}

// The piece size the inputs give, in bytes; refused before anything is read when it cannot be used.
Result<std::uint64_t> PieceSizeOf(const TaskInputs& inputs) {
    // The size goes into the descriptor as typed, so it must be digits and nothing else.
    if (inputs.sizeText.find_first_not_of("0123456789") != std::string::npos)
        return Status::Fail(texts::SizeNotANumber(inputs.sizeText));
    const std::uint64_t value = SizeValue(inputs.sizeText);
    if (value < 1) return Status::Fail(texts::kSizeBelowOne);
    return value * (inputs.unit == SizeUnit::Megabytes ? 1024 * 1024 : 1024);
}

Result<SplitJob> JobFor(const TaskInputs& inputs, std::uint64_t pieceSize, const File& source,
                        const CopyLimits& limits) {
    Result<std::uint64_t> sourceLength = source.Length();
    if (!sourceLength) return sourceLength.status();
    if (*sourceLength < pieceSize) return Status::Fail(texts::kNoNeedToSplit);
    return SplitJob{inputs.sourcePath,
                    EnsureTrailingSlash(inputs.targetFolder),
                    NameOf(inputs.sourcePath),
                    BaseOf(inputs.sourcePath),
                    inputs.sizeText,
                    inputs.unit == SizeUnit::Megabytes ? 'm' : 'k',
                    BlockPlan::For(*sourceLength, pieceSize, limits.blockSize)};
}

// Everything else that could stop the split, settled in the folder the task holds.
Status CheckTheFolder(const SplitJob& job, const TaskRun& run) {
    if (Status clash = CheckNoOutputIsTheSource(job, run.stop); !clash) return clash;
    if (run.WantsSplitBatchFile())
        if (Result<std::string> batch = SplitBatch(job, run.stop); !batch) return batch.status();
    return CheckNoOtherPiecesHere(job, run.stop);
}

// Outputs by number: the descriptor, the checksum list when there is one, the pieces, the
// batch file.
struct SplitOutputs {
    bool withList;
    std::size_t firstPiece;
};

// A base name long enough to fill the file system's names leaves no room for the list's
// extension: such pieces are written without one, and merge unchecked.
Result<SplitOutputs> PlanOutputs(const SplitJob& job, StagedFiles& staged, const StopFlag& stop) {
    const bool withList = OutputNameFits(job.ListPath());
    if (Status planned = staged.Plan(NameOf(job.DescriptorPath())); !planned) return planned;
    if (withList)
        if (Status planned = staged.Plan(NameOf(job.ListPath())); !planned) return planned;
    for (std::uint64_t number = 1; number <= job.plan.pieceCount(); ++number) {
        if (StopDue(stop, number)) return Status::Fail(texts::kInterrupted);
        if (Status planned = staged.Plan(PieceFileName(number)); !planned) return planned;
    }
    return SplitOutputs{withList, withList ? std::size_t{2} : std::size_t{1}};
}

// Copies every piece to its temporary file, and writes the checksum list of what was written.
Status CopyPieces(const SplitJob& job, const File& source, StagedFiles& staged, const SplitOutputs& outputs,
                  const TaskRun& run) {
    CopyBuffer buffer(run.limits, std::min(job.plan.pieceSize, run.limits.blockSize));
    std::optional<File> piece;
    std::optional<PieceHasher> hasher;
    if (outputs.withList) hasher.emplace(job.plan.pieceCount(), run.stop);
    Status copied = WalkBlocks(job.plan, run, [&](const Block& block) {
        if (block.offset == 0) {
            Result<File> created = staged.Create(outputs.firstPiece + block.piece);
            if (!created) return created.status();
            piece.emplace(std::move(*created));
        }
        if (Status moved = piece->CopyFrom(source, block.piece * job.plan.pieceSize + block.offset, block.offset,
                                           block.length, buffer.data(), buffer.size(), run.stop);
            !moved)
            return moved;
        if (!block.endsPiece) return Status::Ok();
        const std::string written = piece->path();
        Status closed = piece->Close();
        piece.reset();
        // Hashed from what was written, while the system still holds it in memory.
        if (closed && hasher) hasher->Add(block.piece, written, 0, job.plan.PieceLength(block.piece));
        return closed;
    });
    if (!copied || !hasher) return copied;
    Result<std::vector<std::string>> digests = hasher->Digests();
    if (!digests) return digests.status();
    return staged.Write(1, ChecksumListText(*digests));
}

}  // namespace

Status SplitFile(const TaskInputs& inputs, TaskRun& run) {
    Result<std::uint64_t> pieceSize = PieceSizeOf(inputs);
    if (!pieceSize) return pieceSize.status();
    Result<File> source = File::OpenForReading(inputs.sourcePath);
    if (!source) return source.status();
    Result<SplitJob> job = JobFor(inputs, *pieceSize, *source, run.limits);
    if (!job) return job.status();
    Result<std::string> descriptor = DescriptorLine(*job);
    if (!descriptor) return descriptor.status();
    // From here the folder is this task's: what it finds there stays so until the task ends.
    Result<FolderLock> folder = TakeTaskFolder(job->folder, FolderLock::Use::Write, run.notices);
    if (!folder) return folder.status();
    if (Status clear = CheckTheFolder(*job, run); !clear) return clear;

    StagedFiles staged(*folder, run.stop);
    staged.AfterEachMove(run.limits.afterEachMove);
    Result<SplitOutputs> outputs = PlanOutputs(*job, staged, run.stop);
    if (!outputs) return outputs.status();
    if (Status written = staged.Write(0, *descriptor); !written) return written;
    if (Status copied = CopyPieces(*job, *source, staged, *outputs, run); !copied) return copied;
    // Asked again now, so a change during the copy counts; the batch file takes its place with
    // the pieces, never without them.
    if (run.WantsSplitBatchFile()) {
        Result<std::string> batch = SplitBatch(*job, run.stop);
        if (!batch) return batch.status();
        if (Status planned = staged.Plan(NameOf(job->BatchPath())); !planned) return planned;
        if (Status written = staged.Write(outputs->firstPiece + job->plan.pieceCount(), *batch); !written)
            return written;
    }
    return staged.Commit();
}

}  // namespace quilvane
