#pragma once
// What a replay costs, known before it runs: a script may ask for billions of ticks or drops,
// which would keep the tool busy for hours.

#include <cstdint>
#include <string>
#include <vector>

#include "replay_script.h"

namespace quilvane::about {

// Work is counted in cell steps: every tick counts each cell of the picture once, and every drop
// counts kDropSteps plus the cells of its square (never more than the picture's). A script within
// the limit runs in under a minute on a desktop computer.
inline constexpr std::int64_t kDropSteps = 10;  // drawing its place, size and strength
inline constexpr std::int64_t kMaxReplaySteps = 10'000'000'000;

// The limit in words, "100 亿步".
std::string ReplayWorkLimitText();

// The steps of the script's work on a picture of width x height; refused when they pass
// kMaxReplaySteps, naming the line where they do ("第 3 行：...").
Result<std::int64_t> ReplaySteps(const std::vector<ReplayCommand>& commands, std::int32_t width, std::int32_t height);

}  // namespace quilvane::about
