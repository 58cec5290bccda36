#pragma once
// The scheduler's sense of time: milliseconds on a clock that only moves forward, at the
// pace of real time, whatever is done to the computer's calendar clock. Tests give the
// scheduler a clock of their own and move it by hand.

#include <cstdint>
#include <functional>

namespace quilvane::power {

using MonotonicClock = std::function<std::int64_t()>;

// The system's: milliseconds since it started.
MonotonicClock SystemMonotonicClock();

}  // namespace quilvane::power
