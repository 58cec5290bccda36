#include "clock.h"

namespace quilvane::mail {
namespace {

class SteadyClock final : public Clock {
public:
    TimePoint Now() override { return std::chrono::steady_clock::now(); }
};

}  // namespace

Clock& SystemClock() {
    static SteadyClock clock;
    return clock;
}

}  // namespace quilvane::mail
