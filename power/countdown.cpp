#include "countdown.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace quilvane::power {
namespace {

constexpr std::int64_t kMillisecondsPerSecond = 1000;
constexpr double kLongestLeadSeconds = 2147483647.0;

// Whole numbers as the platform's date arithmetic takes them: halves to the even neighbour.
std::int64_t WholeWithin(double value, double lowest, double highest) {
    if (std::isnan(value)) return 0;
    return static_cast<std::int64_t>(std::nearbyint(std::clamp(value, lowest, highest)));
}

}  // namespace

void Countdown::Start(std::int64_t nowMs, double delayMinutes, double leadSeconds) {
    const std::int64_t delay = WholeWithin(delayMinutes, 0, static_cast<double>(kLongestDelayMinutes));
    const std::int64_t lead = WholeWithin(leadSeconds, -kLongestLeadSeconds, kLongestLeadSeconds);
    targetMs_ = nowMs + delay * 60 * kMillisecondsPerSecond;
    leadMs_ = lead * kMillisecondsPerSecond;
    noticeMs_ = targetMs_ - leadMs_;
    noticeShown_ = false;
    running_ = true;
}

std::int32_t Countdown::RemainingSeconds(std::int64_t nowMs) const {
    const std::int64_t remainingMs = targetMs_ - nowMs;
    if (remainingMs <= 0) return 0;
    return static_cast<std::int32_t>((remainingMs + kMillisecondsPerSecond - 1) / kMillisecondsPerSecond);
}

Countdown::Tick Countdown::OnTick(std::int64_t nowMs) {
    Tick tick;
    if (!running_) return tick;
    if (nowMs - targetMs_ > kLateToleranceMs) {
        targetMs_ = nowMs + std::max(leadMs_, kLeadAfterLateSeconds * kMillisecondsPerSecond);
        noticeMs_ = nowMs;
        noticeShown_ = false;
    }
    tick.remainingSeconds = RemainingSeconds(nowMs);
    if (nowMs >= targetMs_) {
        tick.actNow = true;
        running_ = false;
    }
    if (!noticeShown_ && nowMs >= noticeMs_) {
        noticeShown_ = true;
        tick.noticeSeconds = tick.remainingSeconds;
    }
    return tick;
}

std::string FormatHms(std::int32_t seconds) {
    const std::int32_t shown = std::max(seconds, 0);
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", shown / 3600, shown % 3600 / 60, shown % 60);
    return text;
}

}  // namespace quilvane::power
