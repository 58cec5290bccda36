#include "monotonic_clock.h"

#include <windows.h>

namespace quilvane::power {

MonotonicClock SystemMonotonicClock() {
    return [] { return static_cast<std::int64_t>(GetTickCount64()); };
}

}  // namespace quilvane::power
