// Rebuilding a split file from its descriptor and numbered pieces.

#include <algorithm>
#include <optional>

#include "formats.h"
#include "paths.h"
#include "task_steps.h"
#include "texts.h"

namespace quilvane {
namespace {

// Every piece the descriptor promises must be there with exactly its share of the bytes,
// and none of them may be the output; a merge that cannot finish does not start.
Status CheckPieces(const BlockPlan& plan, const std::string& pieceFolder, const std::string& output) {
    for (std::uint64_t index = 0; index < plan.pieceCount(); ++index) {
        const std::string path = pieceFolder + PieceFileName(index + 1);
        if (!FileExists(path)) return Status::Fail(texts::PieceMissing(path));
        Result<std::uint64_t> length = FileLength(path);
        if (!length) return length.status();
        if (*length != plan.PieceLength(index))
            return Status::Fail(texts::PieceWrongLength(path, *length, plan.PieceLength(index)));
        if (SameFile(output, path)) return Status::Fail(texts::WouldOverwriteInput(output, path));
    }
    return Status::Ok();
}

}  // namespace

TaskOutcome MergeFromDescriptor(const TaskInputs& inputs, TaskHost& host, const CopyLimits& limits) {
    const std::string& descriptorPath = inputs.sourcePath;
    Result<MergeDescriptor> descriptor = ReadMergeDescriptor(descriptorPath);
    if (!descriptor) return Stop(host, descriptor.message());
    // The name comes from a file anyone can edit: it must stay inside the target folder.
    if (!IsPlainFileName(descriptor->name))
        return Stop(host, texts::DescriptorNameUnsafe(descriptorPath, descriptor->name));
    const BlockPlan plan = BlockPlan::For(descriptor->sourceLength, descriptor->pieceSize, limits.blockSize);
    if (plan.blockCount != descriptor->blockCount)
        return Stop(host, texts::DescriptorMalformed(descriptorPath, texts::kCountMismatch));

    const std::string pieceFolder = FolderOf(descriptorPath);
    const std::string outputPath = EnsureTrailingSlash(inputs.targetFolder) + descriptor->name;
    if (SameFile(outputPath, descriptorPath))
        return Stop(host, texts::WouldOverwriteInput(outputPath, descriptorPath));
    if (Status pieces = CheckPieces(plan, pieceFolder, outputPath); !pieces) return Stop(host, pieces.message());

    // The output is built beside its final name and moved there only when complete, so an
    // existing file of that name survives any failure.
    CreatedFiles created;
    Result<File> output = File::CreateTemporaryBeside(outputPath);
    if (!output) return Stop(host, output.message());
    created.Add(output->path());
    std::optional<File> piece;
    CopyBuffer buffer(limits, std::min(plan.pieceSize, limits.blockSize));
    std::uint64_t pieceIndex = 0, blockInPiece = 0;
    for (std::uint64_t block = 0; block < plan.blockCount; ++block) {
        const bool lastBlock = block + 1 == plan.blockCount;
        if (blockInPiece == 0) {
            Result<File> opened = File::OpenForReading(pieceFolder + PieceFileName(pieceIndex + 1));
            if (!opened) return Stop(host, opened.message());
            piece.emplace(std::move(*opened));
        }
        const std::uint64_t offsetInPiece = blockInPiece * plan.blockSize;
        const std::uint64_t blockLength =
            std::min(plan.blockSize, plan.PieceLength(pieceIndex) - offsetInPiece);
        if (Status copied = output->CopyFrom(*piece, offsetInPiece, pieceIndex * plan.pieceSize + offsetInPiece,
                                             blockLength, buffer.data(), buffer.size());
            !copied)
            return Stop(host, copied.message());
        if (blockInPiece + 1 == plan.blocksPerPiece || lastBlock) {
            piece.reset();
            ++pieceIndex;
            blockInPiece = 0;
        } else {
            ++blockInPiece;
        }
        host.LetPendingMessagesRun();
        host.SetProgress(lastBlock ? 100.0f
                                   : ProgressPercent(pieceIndex * plan.pieceSize + blockInPiece * plan.blockSize,
                                                     plan.sourceLength));
    }
    const std::string temporaryPath = output->path();
    if (Status closed = output->Close(); !closed) return Stop(host, closed.message());
    if (Status moved = MoveFileOver(temporaryPath, outputPath); !moved) return Stop(host, moved.message());
    created.Keep();
    return Finish(host, texts::kMergeDone);
}

}  // namespace quilvane
