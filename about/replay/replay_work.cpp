#include "replay_work.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "ripple.h"

namespace quilvane::about {
namespace {

// The steps of one drop of at most `size`: a square of side 2 x (size / 2) + 1, inside the picture.
std::int64_t DropSteps(std::int64_t size, std::int64_t cells) {
    const std::int64_t side = std::abs(size) / 2 * 2 + 1;
    return kDropSteps + std::min(side * side, cells);
}

// The steps of one tick in the automatic mode the script has set at that point.
std::int64_t TickSteps(const ReplayCommand* autoMode, std::int64_t cells) {
    if (!autoMode) return cells;
    const std::int32_t mode = autoMode->arguments[0], count = autoMode->arguments[1],
                       sizeLimit = autoMode->arguments[2];
    switch (mode) {
    case kModeRain: return cells + DropSteps(RippleRandomBound(sizeLimit), cells);
    case kModeWanderingDrop: return cells + DropSteps(sizeLimit, cells);
    case kModeBursts:
        return cells +
               std::max<std::int64_t>(std::int64_t{count} + 1, 0) * DropSteps(RippleRandomBound(sizeLimit), cells);
    default: return cells;
    }
}

}  // namespace

std::string ReplayWorkLimitText() { return std::to_string(kMaxReplaySteps / 100'000'000) + " 亿步"; }

Result<std::int64_t> ReplaySteps(const std::vector<ReplayCommand>& commands, std::int32_t width, std::int32_t height) {
    const std::int64_t cells = std::int64_t{width} * height;
    const ReplayCommand* autoMode = nullptr;  // the last auto command, while it has a mode on
    std::int64_t steps = 0;
    for (const ReplayCommand& command : commands) {
        // One tick costs below 2^58 steps, but K of them may pass 2^63: K is compared with the
        // room left by division.
        std::int64_t more = 0;
        const std::int64_t room = kMaxReplaySteps - steps;
        switch (command.kind) {
        case ReplayCommand::Kind::Seed: break;
        case ReplayCommand::Kind::Auto: autoMode = command.arguments[0] == kModeOff ? nullptr : &command; break;
        case ReplayCommand::Kind::Drop: more = DropSteps(command.arguments[2], cells); break;
        case ReplayCommand::Kind::Tick: {
            const std::int64_t perTick = TickSteps(autoMode, cells);
            more = command.arguments[0] > room / perTick ? room + 1 : command.arguments[0] * perTick;
            break;
        }
        }
        steps += more;
        if (steps > kMaxReplaySteps)
            return Status::Fail("第 " + std::to_string(command.line) + " 行：工作量到这里超过了上限 " +
                                ReplayWorkLimitText() + "，请减少计时周期或水滴");
    }
    return steps;
}

}  // namespace quilvane::about
