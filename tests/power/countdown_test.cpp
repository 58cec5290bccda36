// The countdown to the action and the notice before it, on a clock the tests move by hand.

#include "countdown.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace quilvane::power {
namespace {

constexpr std::int64_t kStart = 5'000'000;  // any reading of the monotonic clock

struct Ticks {
    Countdown countdown;
    int actions = 0;
    int notices = 0;
    std::int32_t lastNotice = -1;
    std::int32_t lastRemaining = -1;

    // One timer tick `ms` after the start.
    Countdown::Tick At(std::int64_t ms) {
        const Countdown::Tick tick = countdown.OnTick(kStart + ms);
        actions += tick.actNow;
        lastRemaining = tick.remainingSeconds;
        if (tick.noticeSeconds) ++notices, lastNotice = *tick.noticeSeconds;
        return tick;
    }
    // Ticks once a second, each `late` ms after the whole second, from `fromSecond` to `toSecond`.
    void EverySecond(int fromSecond, int toSecond, int late = 3) {
        for (int second = fromSecond; second <= toSecond; ++second) At(second * 1000LL + late);
    }
};

TEST(Countdown, ShowsWholeSecondsLeftAndActsOnceAtTheTarget) {
    Ticks ticks;
    ticks.countdown.Start(kStart, 5, 30);
    EXPECT_EQ(ticks.At(1003).remainingSeconds, 299);
    EXPECT_EQ(FormatHms(299), "00:04:59");
    ticks.EverySecond(2, 299);
    EXPECT_EQ(ticks.lastRemaining, 1);
    EXPECT_EQ(ticks.actions, 0);
    const Countdown::Tick target = ticks.At(300'003);
    EXPECT_TRUE(target.actNow);
    EXPECT_EQ(target.remainingSeconds, 0);
    EXPECT_FALSE(ticks.countdown.Running());
    EXPECT_FALSE(ticks.At(301'003).actNow);  // a tick already queued does not act again
    EXPECT_EQ(ticks.actions, 1);
}

TEST(Countdown, NoticeComesOnceAtItsLeadWithTheSecondsThatRemain) {
    Ticks ticks;
    ticks.countdown.Start(kStart, 5, 30);
    ticks.EverySecond(1, 269);
    EXPECT_EQ(ticks.notices, 0);
    ticks.At(270'003);
    EXPECT_EQ(ticks.notices, 1);
    EXPECT_EQ(ticks.lastNotice, 30);
    ticks.EverySecond(271, 300);
    EXPECT_EQ(ticks.notices, 1);
    EXPECT_EQ(ticks.actions, 1);
}

TEST(Countdown, ALateTickStillActsAndAnnouncesWhatIsReallyLeft) {
    Ticks ticks;
    ticks.countdown.Start(kStart, 1, 30);
    ticks.EverySecond(1, 20);
    ticks.At(45'500);  // a long copy block swallowed the notice second
    EXPECT_EQ(ticks.notices, 1);
    EXPECT_EQ(ticks.lastNotice, 15);
    ticks.At(62'000);  // and the target second too
    EXPECT_EQ(ticks.actions, 1);
    EXPECT_EQ(ticks.lastRemaining, 0);
}

TEST(Countdown, WakingLongAfterTheTargetAnnouncesTheFullLeadBeforeActing) {
    Ticks ticks;
    ticks.countdown.Start(kStart, 1, 45);
    ticks.EverySecond(1, 10);
    ticks.At(3'600'000);  // the computer slept through the notice and the target
    EXPECT_EQ(ticks.actions, 0);
    EXPECT_EQ(ticks.lastNotice, 45);
    EXPECT_EQ(ticks.lastRemaining, 45);
    ticks.At(3'644'000);
    EXPECT_EQ(ticks.actions, 0);
    ticks.At(3'645'000);
    EXPECT_EQ(ticks.actions, 1);
    EXPECT_EQ(ticks.notices, 1);

    ticks.countdown.Start(kStart, 1, 0);  // no lead of its own: still time to cancel
    ticks.At(70'000);
    EXPECT_EQ(ticks.lastNotice, kLeadAfterLateSeconds);
    EXPECT_EQ(ticks.actions, 1);
    ticks.At(70'000 + kLeadAfterLateSeconds * 1000);
    EXPECT_EQ(ticks.actions, 2);
}

TEST(Countdown, StartingAgainReplacesTheTaskAndItsNotice) {
    Ticks ticks;
    ticks.countdown.Start(kStart, 1, 50);
    ticks.EverySecond(1, 15);
    EXPECT_EQ(ticks.notices, 1);
    ticks.countdown.Start(kStart + 15'500, 2, 10);
    EXPECT_EQ(ticks.countdown.RemainingSeconds(kStart + 15'500), 120);
    ticks.EverySecond(16, 126);
    EXPECT_EQ(ticks.notices, 2);
    EXPECT_EQ(ticks.lastNotice, 10);
    EXPECT_EQ(ticks.actions, 0);  // the first target (60 s) passed without acting
    ticks.EverySecond(127, 136);
    EXPECT_EQ(ticks.actions, 1);
}

TEST(Countdown, AStoppedCountdownNeitherActsNorAnnounces) {
    Ticks ticks;
    ticks.countdown.Start(kStart, 0, 0);
    ticks.countdown.Stop();
    ticks.At(5000);
    EXPECT_EQ(ticks.actions + ticks.notices, 0);
}

TEST(Countdown, OddDelaysAreRoundedAndKeptInRange) {
    Countdown countdown;
    countdown.Start(0, 2.5, 0);  // halves go to the even neighbour
    EXPECT_EQ(countdown.RemainingSeconds(0), 120);
    countdown.Start(0, 3.5, 0);
    EXPECT_EQ(countdown.RemainingSeconds(0), 240);
    countdown.Start(0, -5, 0);  // a pasted "-5" waits no less than no delay at all
    EXPECT_EQ(countdown.RemainingSeconds(0), 0);
    countdown.Start(0, 1e300, 1e300);  // "never", typed as a long row of nines
    EXPECT_EQ(countdown.RemainingSeconds(0), kLongestDelayMinutes * 60);
    EXPECT_EQ(FormatHms(countdown.RemainingSeconds(0)), "596523:14:00");
}

TEST(Countdown, TheRemainingTimeReadsAsHoursMinutesSeconds) {
    EXPECT_EQ(FormatHms(0), "00:00:00");
    EXPECT_EQ(FormatHms(59), "00:00:59");
    EXPECT_EQ(FormatHms(3600), "01:00:00");
    EXPECT_EQ(FormatHms(1000 * 60), "16:40:00");
    EXPECT_EQ(FormatHms(-5), "00:00:00");
}

}  // namespace
}  // namespace quilvane::power
