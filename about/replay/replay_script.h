#pragma once
// Scripts that drive the ripple effect without a window, one command a line:
//   seed N                              sets the effect's generator state
//   drop X Y SIZE STRENGTH              one drop, as a mouse move adds it
//   auto MODE COUNT SIZE STRENGTH       an automatic mode (0 off, 1 rain, 2 wandering drop, 3 bursts)
//   tick [K]                            K timer ticks, 1 when K is left out
// Blank lines and lines starting with "#" are skipped. Numbers are 32-bit whole numbers.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "bmp_image.h"
#include "status.h"

namespace quilvane::about {

struct ReplayCommand {
    enum class Kind { Seed, Drop, Auto, Tick };
    Kind kind;
    std::array<std::int32_t, 4> arguments{};
    std::size_t line = 0;  // where it stands in the script, for messages
};

// The whole script is checked before anything runs. A failure names the line ("第 3 行：...").
Result<std::vector<ReplayCommand>> ParseReplayScript(std::string_view text);

// Starts the effect on the picture as the About window does, its first render included (the
// generator starts at 0), runs the commands and returns the pixels the window would show.
Picture Replay(const Picture& picture, const std::vector<ReplayCommand>& commands);

}  // namespace quilvane::about
