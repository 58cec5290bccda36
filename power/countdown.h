#pragma once
// The scheduler's countdown to a power action and the notice shortly before it. Time is read
// from a monotonic clock in milliseconds and measured from the moment the task starts, so a
// change of the computer's calendar clock neither hastens the action nor postpones it. The
// action is due on the first tick at or after the target and the notice on the first tick at
// or after its own moment, each once. The monotonic clock runs on while the computer sleeps:
// a tick that finds the target passed by more than kLateToleranceMs does not act under the
// hands of the person who just woke the computer, but announces the action with the full
// lead (at least kLeadAfterLateSeconds) and acts when that has passed.

#include <cstdint>
#include <optional>
#include <string>

namespace quilvane::power {

// The longest delay: its remaining seconds still fit a 32-bit count (about 68 years).
inline constexpr std::int64_t kLongestDelayMinutes = 35'791'394;
// Ticks come once a second; one this late after the target means the computer was asleep.
inline constexpr std::int64_t kLateToleranceMs = 5'000;
// The notice after a late wake-up gives at least the designed default lead to cancel.
inline constexpr std::int64_t kLeadAfterLateSeconds = 30;

class Countdown {
public:
    struct Tick {
        std::int32_t remainingSeconds = 0;          // to the target, rounded up; never below 0
        bool actNow = false;                        // the action is due; the countdown has ended
        std::optional<std::int32_t> noticeSeconds;  // show the notice now, announcing this
    };

    // Starts counting at `nowMs`, replacing any countdown under way. The delay is in minutes
    // and the notice lead in seconds; both are rounded to whole numbers (halves to even), a
    // negative delay counts as 0 and one beyond kLongestDelayMinutes as that.
    void Start(std::int64_t nowMs, double delayMinutes, double leadSeconds);
    void Stop() { running_ = false; }
    bool Running() const { return running_; }

    std::int32_t RemainingSeconds(std::int64_t nowMs) const;
    // One tick of the timer while running. Once the action is due the countdown stops, so
    // it is never due twice. A notice due on the same tick comes after the action.
    Tick OnTick(std::int64_t nowMs);

private:
    bool running_ = false;
    bool noticeShown_ = false;
    std::int64_t targetMs_ = 0;
    std::int64_t noticeMs_ = 0;
    std::int64_t leadMs_ = 0;
};

// "hh:mm:ss", each part two digits (the hours more when a delay passes 99 hours).
std::string FormatHms(std::int32_t seconds);

}  // namespace quilvane::power
