// Rebuilding a split file from its descriptor and numbered pieces, checked against the
// checksum list beside the descriptor where there is one.

#include <algorithm>
#include <optional>

#include "block_walk.h"
#include "checksum_list.h"
#include "formats.h"
#include "paths.h"
#include "piece_hasher.h"
#include "staged_files.h"
#include "task_steps.h"
#include "texts.h"

namespace quilvane {
namespace {

// Every piece the descriptor promises must be there, a regular file with exactly its share of
// the bytes, and none of them may be the output; a merge that cannot finish does not start.
Status CheckPieces(const BlockPlan& plan, const std::string& pieceFolder, const std::string& output,
                   const StopFlag& stop) {
    for (std::uint64_t index = 0; index < plan.pieceCount(); ++index) {
        if (StopDue(stop, index)) return Status::Fail(texts::kInterrupted);
        const std::string path = pieceFolder + PieceFileName(index + 1);
        const PathKind kind = KindOf(path);
        if (kind == PathKind::Missing) return Status::Fail(texts::PieceMissing(path));
        if (kind != PathKind::File) return Status::Fail(texts::NotARegularFile(path));
        Result<std::uint64_t> length = FileLength(path);
        if (!length) return length.status();
        if (*length != plan.PieceLength(index))
            return Status::Fail(texts::PieceWrongLength(path, *length, plan.PieceLength(index)));
        if (SameFile(output, path)) return Status::Fail(texts::WouldOverwriteInput(output, path));
    }
    return Status::Ok();
}

// The folder as the system looks it up: "" is the current one.
std::string LookedUp(const std::string& folder) { return folder.empty() ? "." : folder; }

// The target folder and, when they differ, the pieces' folder, both this task's until it ends:
// no split replaces the pieces while they are read. A dead run's half-done moves are rolled
// back before the descriptor is read.
struct MergeFolders {
    FolderLock target;
    std::optional<FolderLock> pieces;
};

Result<MergeFolders> TakeMergeFolders(const std::string& pieceFolder, const std::string& targetFolder,
                                      std::vector<Notice>& notices) {
    Result<FolderLock> target = TakeTaskFolder(targetFolder, FolderLock::Use::Write, notices);
    if (!target) return target.status();
    MergeFolders folders{std::move(*target), std::nullopt};
    if (!SameFile(LookedUp(pieceFolder), LookedUp(targetFolder))) {
        Result<FolderLock> taken = TakeTaskFolder(pieceFolder, FolderLock::Use::Read, notices);
        if (!taken) return taken.status();
        folders.pieces.emplace(std::move(*taken));
    }
    return folders;
}

// The descriptor, refused unless it names a file inside the target folder and adds up.
Result<MergeDescriptor> ReadUsableDescriptor(const std::string& descriptorPath, const CopyLimits& limits) {
    Result<MergeDescriptor> descriptor = ReadMergeDescriptor(descriptorPath);
    if (!descriptor) return descriptor;
    // The name comes from a file anyone can edit: it must stay inside the target folder.
    if (!IsPlainFileName(descriptor->name))
        return Status::Fail(texts::DescriptorNameUnsafe(descriptorPath, descriptor->name));
    const BlockPlan plan = BlockPlan::For(descriptor->sourceLength, descriptor->pieceSize, limits.blockSize);
    if (plan.blockCount != descriptor->blockCount)
        return Status::Fail(texts::DescriptorMalformed(descriptorPath, texts::kCountMismatch));
    return descriptor;
}

// Copies every piece into `output`, each hashed on the second core while the kernel copies it
// when `expected` lists their digests, and checks them against it.
Status CopyPieces(const BlockPlan& plan, const std::string& pieceFolder, const std::vector<std::string>& expected,
                  File& output, const TaskRun& run) {
    std::optional<PieceHasher> hasher;
    if (!expected.empty()) hasher.emplace(plan.pieceCount(), run.stop);
    CopyBuffer buffer(run.limits, std::min(plan.pieceSize, run.limits.blockSize));
    std::optional<File> piece;
    Status copied = WalkBlocks(plan, run, [&](const Block& block) {
        if (block.offset == 0) {
            const std::string path = pieceFolder + PieceFileName(block.piece + 1);
            Result<File> opened = File::OpenForReading(path);
            if (!opened) return opened.status();
            piece.emplace(std::move(*opened));
            if (hasher) hasher->Add(block.piece, path, 0, plan.PieceLength(block.piece));
        }
        Status moved = output.CopyFrom(*piece, block.offset, block.piece * plan.pieceSize + block.offset, block.length,
                                       buffer.data(), buffer.size(), run.stop);
        if (block.endsPiece) piece.reset();
        return moved;
    });
    if (!copied || !hasher) return copied;
    Result<std::vector<std::string>> digests = hasher->Digests();
    if (!digests) return digests.status();
    for (std::size_t index = 0; index < digests->size(); ++index)
        if ((*digests)[index] != expected[index])
            return Status::Fail(texts::PieceDamaged(pieceFolder + PieceFileName(index + 1)));
    return Status::Ok();
}

}  // namespace

Status MergeFromDescriptor(const TaskInputs& inputs, TaskRun& run) {
    const std::string& descriptorPath = inputs.sourcePath;
    const std::string pieceFolder = FolderOf(descriptorPath);
    Result<MergeFolders> folders = TakeMergeFolders(pieceFolder, EnsureTrailingSlash(inputs.targetFolder), run.notices);
    if (!folders) return folders.status();
    Result<MergeDescriptor> descriptor = ReadUsableDescriptor(descriptorPath, run.limits);
    if (!descriptor) return descriptor.status();
    const BlockPlan plan = BlockPlan::For(descriptor->sourceLength, descriptor->pieceSize, run.limits.blockSize);

    // The output is built beside its final name and moved there only when complete, so an
    // existing file of that name survives any failure.
    StagedFiles staged(folders->target, run.stop);
    staged.AfterEachMove(run.limits.afterEachMove);
    if (Status planned = staged.Plan(descriptor->name); !planned) return planned;
    const std::string outputPath = staged.FinalPath(0);
    if (SameFile(outputPath, descriptorPath))
        return Status::Fail(texts::WouldOverwriteInput(outputPath, descriptorPath));
    if (Status pieces = CheckPieces(plan, pieceFolder, outputPath, run.stop); !pieces) return pieces;
    // Pieces from an older split, or from elsewhere, come without a list and merge unchecked.
    const bool checked = inputs.verifyPieces && KindOf(ChecksumListPath(descriptorPath)) != PathKind::Missing;
    Result<std::vector<std::string>> expected =
        checked ? ReadPieceDigests(descriptorPath, plan.pieceCount()) : std::vector<std::string>{};
    if (!expected) return expected.status();

    Result<File> output = staged.Create(0);
    if (!output) return output.status();
    if (Status copied = CopyPieces(plan, pieceFolder, *expected, *output, run); !copied) return copied;
    if (Status closed = output->Close(); !closed) return closed;
    return staged.Commit();
}

}  // namespace quilvane
