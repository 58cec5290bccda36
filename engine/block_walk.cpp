#include "block_walk.h"

#include <algorithm>

#include "texts.h"

namespace quilvane {

Status WalkBlocks(const BlockPlan& plan, const TaskRun& run, const std::function<Status(const Block&)>& copy) {
    std::uint64_t piece = 0, offset = 0;
    for (std::uint64_t block = 0; block < plan.blockCount; ++block) {
        if (run.stop.Requested()) return Status::Fail(texts::kInterrupted);
        const bool lastBlock = block + 1 == plan.blockCount;
        const std::uint64_t pieceLength = plan.PieceLength(piece);
        const std::uint64_t length = std::min(plan.blockSize, pieceLength - offset);
        const bool endsPiece = offset + length == pieceLength || lastBlock;
        if (Status copied = copy({piece, offset, length, endsPiece}); !copied) return copied;
        if (endsPiece) {
            ++piece;
            offset = 0;
        } else {
            offset += length;
        }
        run.Report(lastBlock ? 100.0f : ProgressPercent(piece * plan.pieceSize + offset, plan.sourceLength));
    }
    return Status::Ok();
}

}  // namespace quilvane
