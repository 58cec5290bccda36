#pragma once
// Time as the network waits see it. Every wait for the server has a deadline taken from a
// Clock, so a test can let time pass without waiting for it.

#include <chrono>

namespace quilvane::mail {

using TimePoint = std::chrono::steady_clock::time_point;

class Clock {
public:
    virtual ~Clock() = default;
    virtual TimePoint Now() = 0;
};

// The steady clock of the system.
Clock& SystemClock();

// How long the server may take to accept the connection and to answer each request.
struct Patience {
    Clock* clock = &SystemClock();
    std::chrono::milliseconds timeout{30000};

    TimePoint DeadlineFromNow() const { return clock->Now() + timeout; }
    long long Seconds() const { return std::chrono::duration_cast<std::chrono::seconds>(timeout).count(); }
};

// Waits end in slices of at most this long, so a clock that jumps ahead is noticed soon.
inline constexpr std::chrono::milliseconds kWaitSlice{200};

}  // namespace quilvane::mail
