#pragma once
// The walk over a plan's N blocks that split and merge share: the block structure, the look at
// the stop flag before each block and the progress reported after each one are the same for
// both.

#include <cstdint>
#include <functional>

#include "block_plan.h"
#include "status.h"
#include "task_steps.h"

namespace quilvane {

struct Block {
    std::uint64_t piece;   // 0-based
    std::uint64_t offset;  // within the piece
    std::uint64_t length;
    bool endsPiece;  // the piece's last block
};

// Hands each block in order to `copy`; after each, reports the progress, 100 after the last.
// Stops at the first failure, or before a block once a stop is requested.
Status WalkBlocks(const BlockPlan& plan, const TaskRun& run, const std::function<Status(const Block&)>& copy);

}  // namespace quilvane
