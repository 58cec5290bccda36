// The scheduler window on a clock the tests move by hand and with power calls that are only
// written down: starting, counting, cancelling, late ticks, the notice, hiding and closing.

#include "set_clses.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "message_loop.h"
#include "recording_power.h"

namespace quilvane::power::testing {
namespace {

using Calls = std::vector<std::string>;

// Records the notices; the scheduler opens no other dialog.
class RecordedNotices final : public shell::Dialogs {
public:
    std::vector<std::string> notices;
    HWND ownerEnabledDuringNotice = nullptr;  // set to the scheduler by a test that checks it

    std::string PickFile(const std::string&, const std::string&, bool) override { return {}; }
    std::string PickFolder(const std::string&, HWND) override { return {}; }
    void OpenWithShell(const std::string&, const std::string&, int) override {}
    int ShowNotice(const std::string& text, int style) override {
        EXPECT_EQ(style, 64);
        if (ownerEnabledDuringNotice) {
            EXPECT_FALSE(IsWindowEnabled(ownerEnabledDuringNotice));
        }
        notices.push_back(text);
        return IDOK;
    }
};

const std::vector<std::wstring> kActionNames{L"关机", L"重启",       L"注销",     L"睡眠",
                                             L"休眠", L"关闭显示器", L"快速关机", L"快速重启"};

class SchedulerTest : public ::testing::Test {
protected:
    SchedulerTest() {
        EXPECT_TRUE(window.Create());
        ui::WhenNoFormIsLoaded([this] { ++programEnds; });
    }
    ~SchedulerTest() override { ui::WhenNoFormIsLoaded(nullptr); }

    // What the main window's modal show does, short of waiting. Wine takes two seconds to
    // hide a shown window again, so tests that need no real showing only activate it.
    void Open() {
        ShowWindow(window.hwnd(), SW_SHOW);
        window.Form_Activate();
    }
    void Click(SchedulerControl id) { SendMessageW(window.Control(id), BM_CLICK, 0, 0); }
    // "确定" with a delay in minutes and a lead in seconds, at the current time.
    void Schedule(const wchar_t* minutes, const wchar_t* seconds, short action = 0) {
        window.Text1().SetText(minutes);
        window.Text2().SetText(seconds);
        window.Combo1().SetListIndex(action);
        Click(kCommand1);
        started = now;
    }
    // A tick `ms` after the start.
    void TickAt(std::int64_t ms) {
        now = started + ms;
        window.Timer1_Timer();
    }
    void EverySecond(int from, int to) {
        for (int second = from; second <= to; ++second) TickAt(second * 1000LL + 4);
    }
    std::wstring Text(SchedulerControl id) {
        wchar_t text[128] = {};
        GetWindowTextW(window.Control(id), text, 128);
        return text;
    }
    // The control's own visibility, shown window or not.
    bool Visible(SchedulerControl id) { return (GetWindowLongW(window.Control(id), GWL_STYLE) & WS_VISIBLE) != 0; }
    std::wstring Announced() { return window.Notice().Shown() ? window.Notice().Line(1) : L"<no notice>"; }
    bool Acted() const { return !power.calls.empty(); }

    std::int64_t now = 7'000'000;
    std::int64_t started = now;
    int programEnds = 0;
    shell::Skin se;
    RecordedNotices dialogs;
    RecordingPower power;
    SetClses window{se, dialogs, nullptr, power, [this] { return now; }};
};

using SchedulerWindow = SchedulerTest;

TEST_F(SchedulerWindow, OpensIdleWithTheEightActionsAndTheDesignedValues) {
    wchar_t title[32] = {};
    GetWindowTextW(window.hwnd(), title, 32);
    EXPECT_STREQ(title, L"延时关机");
    EXPECT_FALSE(IsWindowVisible(window.hwnd()));
    ASSERT_EQ(window.Combo1().ListCount(), 8);
    for (short i = 0; i < 8; ++i) EXPECT_EQ(window.Combo1().List(i), kActionNames[static_cast<std::size_t>(i)]);
    EXPECT_EQ(window.Combo1().ListIndex(), 0);
    EXPECT_EQ(window.Combo1().Text(), L"关机");
    EXPECT_EQ(window.Text1().Text(), L"5");
    EXPECT_EQ(window.Text2().Text(), L"30");
    EXPECT_EQ(window.Text1().Max(), 1000);
    EXPECT_EQ(window.Text2().Min(), 0);
    window.Form_Activate();
    EXPECT_FALSE(Visible(kLbl));
    EXPECT_FALSE(Visible(kBt2));
    EXPECT_TRUE(Visible(kCommand1));
    EXPECT_FALSE(window.TaskPending());
}

TEST_F(SchedulerWindow, OpensCentredOverTheMainWindowButNeverOffTheScreen) {
    RECT workArea{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    for (const RECT main : {RECT{300, 200, 900, 600}, RECT{workArea.left, workArea.top, workArea.left + 100, 80}}) {
        const HWND mainWindow =
            CreateWindowExW(0, L"STATIC", L"main", WS_POPUP, main.left, main.top, main.right - main.left,
                            main.bottom - main.top, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        SetClses scheduler(se, dialogs, mainWindow, power, [this] { return now; });
        ASSERT_TRUE(scheduler.Create());
        RECT place{};
        GetWindowRect(scheduler.hwnd(), &place);
        if (main.left == 300) {
            EXPECT_NEAR(place.left + place.right, main.left + main.right, 1);
        }
        EXPECT_GE(place.left, workArea.left);
        EXPECT_GE(place.top, workArea.top);
        DestroyWindow(mainWindow);
    }
}

TEST_F(SchedulerWindow, OkHidesTheWindowAndTheStatusLineCountsDown) {
    Open();
    Schedule(L"5", L"30");
    EXPECT_FALSE(IsWindowVisible(window.hwnd()));
    EXPECT_TRUE(window.TaskPending());
    EXPECT_EQ(Text(kLbl), L"剩余:00:05:00");
    TickAt(1004);
    EXPECT_EQ(Text(kLbl), L"剩余:00:04:59");
    EverySecond(2, 61);
    window.Form_Activate();
    EXPECT_TRUE(Visible(kLbl));
    EXPECT_TRUE(Visible(kBt2));
    EXPECT_EQ(Text(kLbl), L"剩余:00:03:59");
    EXPECT_FALSE(Acted());
}

TEST_F(SchedulerWindow, EnterInTheMinutesStartsTheTask) {
    Open();
    SetFocus(window.Text1().hWnd());
    MSG enter{GetFocus(), WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    ui::DispatchWithNavigation(enter);
    EXPECT_TRUE(window.TaskPending());
    EXPECT_FALSE(IsWindowVisible(window.hwnd()));
}

TEST_F(SchedulerWindow, ANumberBoxLeftEmptyOrPastedIntoStartsNothingAndSaysWhich) {
    Open();
    dialogs.ownerEnabledDuringNotice = window.hwnd();
    const std::vector<std::pair<const wchar_t*, const wchar_t*>> refused{
        {L"", L"30"},   {L"-5", L"30"}, {L"abc", L"30"}, {L"1.5", L"30"},
        {L" 5", L"30"}, {L"5", L""},    {L"5", L"-30"},  {L"5", L"３０"}};
    for (const auto& [minutes, seconds] : refused) {
        Schedule(minutes, seconds);
        EXPECT_FALSE(window.TaskPending()) << minutes << L"|" << seconds;
        EXPECT_TRUE(IsWindowVisible(window.hwnd()));
        EXPECT_TRUE(IsWindowEnabled(window.hwnd()));
    }
    EXPECT_EQ(dialogs.notices,
              (std::vector<std::string>{"没有填写延时的分钟数", "延时的分钟数只能填写数字（不带正负号和小数点）",
                                        "延时的分钟数只能填写数字（不带正负号和小数点）",
                                        "延时的分钟数只能填写数字（不带正负号和小数点）",
                                        "延时的分钟数只能填写数字（不带正负号和小数点）", "没有填写执行前提示的秒数",
                                        "执行前提示的秒数只能填写数字（不带正负号和小数点）",
                                        "执行前提示的秒数只能填写数字（不带正负号和小数点）"}));
    EXPECT_EQ(GetFocus(), window.Text2().TextBoxWindow()) << "the caret waits in the box to fix";
    EverySecond(1, 120);
    EXPECT_FALSE(Acted());

    // A task under way is left as it was.
    Schedule(L"2", L"0");
    Open();
    Schedule(L"", L"0");
    EXPECT_TRUE(window.TaskPending());
    EverySecond(1, 120);
    EXPECT_EQ(power.calls.back(), "ExitWindowsEx(1, 0)");
}

TEST_F(SchedulerWindow, CancelEndsTheTaskAndSaysSoUntilTheNextActivation) {
    Schedule(L"1", L"30");
    EverySecond(1, 10);
    window.Form_Activate();
    Click(kBt2);
    EXPECT_FALSE(window.TaskPending());
    EXPECT_EQ(Text(kLbl), L"当前无任务");
    EXPECT_TRUE(Visible(kLbl));
    EXPECT_FALSE(Visible(kBt2));
    window.Form_Activate();
    EXPECT_FALSE(Visible(kLbl));
    EverySecond(11, 70);
    EXPECT_FALSE(Acted());
    EXPECT_EQ(Announced(), L"<no notice>");
}

TEST_F(SchedulerWindow, AnnouncesAtTheLeadThenPerformsTheChosenActionOnce) {
    std::size_t callsBeforeTheAction = 99;
    window.BeforePowerAction = [&] { callsBeforeTheAction = power.calls.size(); };
    Schedule(L"1", L"30", 1);
    EverySecond(1, 29);
    EXPECT_EQ(Announced(), L"<no notice>");
    TickAt(30'004);
    EXPECT_EQ(Announced(), L"系统将在30秒之后重启");
    EXPECT_EQ(window.Notice().DisplayMilliseconds(), 5000);
    EverySecond(31, 59);
    EXPECT_FALSE(Acted());
    TickAt(60'004);
    ASSERT_FALSE(power.calls.empty());
    EXPECT_EQ(power.calls.back(), "ExitWindowsEx(2, 0)");
    EXPECT_EQ(power.calls.size(), 7u);  // six privilege steps first
    EXPECT_EQ(callsBeforeTheAction, 0u) << "what must end first (a copy) ends before any power call";
    EXPECT_FALSE(window.TaskPending());
    EXPECT_EQ(Text(kLbl), L"当前无任务");
    TickAt(61'004);  // a tick already queued
    EXPECT_EQ(power.calls.size(), 7u);
}

TEST_F(SchedulerWindow, ATickJustAfterTheTargetActsAndTheStatusNeverGoesNegative) {
    Schedule(L"1", L"30");
    EverySecond(1, 20);
    TickAt(63'000);  // a busy moment delayed the target second a little
    EXPECT_EQ(power.calls.back(), "ExitWindowsEx(1, 0)");
    EXPECT_EQ(Announced(), L"系统将在0秒之后关机");
    EXPECT_EQ(Text(kLbl), L"当前无任务");
}

TEST_F(SchedulerWindow, AfterSleepingThroughTheTargetItAnnouncesFirstAndCanStillBeCancelled) {
    Schedule(L"1", L"30");
    EverySecond(1, 20);
    TickAt(8 * 3'600'000LL);
    EXPECT_FALSE(Acted());
    EXPECT_EQ(Announced(), L"系统将在30秒之后关机");
    EXPECT_EQ(Text(kLbl), L"剩余:00:00:30");
    Open();
    Click(kBt2);
    TickAt(8 * 3'600'000LL + 31'000);
    EXPECT_FALSE(Acted());
}

TEST_F(SchedulerWindow, NoDelayActsOnTheFirstTick) {
    Schedule(L"0", L"30", 6);
    TickAt(1000);
    EXPECT_EQ(power.calls, (Calls{"RtlAdjustPrivilege(19, true, false)", "NtShutdownSystem(0)"}));
}

TEST_F(SchedulerWindow, NoLeadActsFirstAndThenAnnouncesZero) {
    bool noticeBeforeAction = false;
    power.whenCalled = [&](const std::string&) { noticeBeforeAction |= window.Notice().Shown(); };
    Schedule(L"1", L"0", 2);
    EverySecond(1, 59);
    EXPECT_FALSE(Acted());
    TickAt(60'004);
    EXPECT_EQ(power.calls.back(), "ExitWindowsEx(0, 0)");
    EXPECT_FALSE(noticeBeforeAction);
    EXPECT_EQ(Announced(), L"系统将在0秒之后注销");
}

TEST_F(SchedulerWindow, ALeadLongerThanTheDelayAnnouncesOnTheFirstTick) {
    Schedule(L"1", L"100", 3);
    TickAt(1004);
    EXPECT_EQ(Announced(), L"系统将在59秒之后睡眠");
    window.Notice().Timer1_Timer();
    EverySecond(2, 60);
    EXPECT_EQ(Announced(), L"<no notice>");  // once per task
    EXPECT_EQ(power.calls.back(), "SetSuspendState(false, false, false)");
}

TEST_F(SchedulerWindow, OkWhileCountingStartsAgainFromTheNewValues) {
    Schedule(L"1", L"30");
    EverySecond(1, 40);
    EXPECT_EQ(Announced(), L"系统将在30秒之后关机");
    window.Notice().Timer1_Timer();
    Schedule(L"2", L"10", 4);
    EverySecond(1, 110);
    EXPECT_FALSE(Acted());  // the first target passed long ago
    EXPECT_EQ(Announced(), L"系统将在10秒之后休眠");
    EverySecond(111, 120);
    EXPECT_EQ(power.calls.back(), "SetSystemPowerState(false, true)");
}

TEST_F(SchedulerWindow, ClosingOnlyHidesAndTheTaskGoesOn) {
    Schedule(L"1", L"30");
    EverySecond(1, 5);
    Open();
    Click(kBt3);
    EXPECT_FALSE(IsWindowVisible(window.hwnd()));
    EXPECT_TRUE(window.TaskPending());
    EXPECT_TRUE(window.KeepsProgramRunning());
    window.Form_Activate();
    EXPECT_TRUE(Visible(kBt2));
    EverySecond(6, 60);
    EXPECT_EQ(power.calls.back(), "ExitWindowsEx(1, 0)");
}

TEST_F(SchedulerWindow, TheTitleBarsCloseUnloadsTheWindowAndDropsItsTask) {
    Schedule(L"1", L"30");
    EverySecond(1, 5);
    SendMessageW(window.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(window.hwnd(), nullptr);
    EXPECT_FALSE(window.TaskPending());
    EXPECT_FALSE(window.KeepsProgramRunning());
    EverySecond(6, 70);
    EXPECT_FALSE(Acted());
}

TEST_F(SchedulerWindow, WithoutTheMainWindowAPendingTaskStaysShownAndEndsTheWindow) {
    window.OutliveMainWindow();  // nothing pending: nothing to show
    EXPECT_FALSE(IsWindowVisible(window.hwnd()));
    Schedule(L"1", L"30");
    EverySecond(1, 5);
    window.OutliveMainWindow();
    EXPECT_TRUE(IsWindowVisible(window.hwnd()));
    EXPECT_TRUE(Visible(kBt2));
    EverySecond(6, 60);
    EXPECT_EQ(power.calls.back(), "ExitWindowsEx(1, 0)");
    EXPECT_EQ(window.hwnd(), nullptr);
    EXPECT_FALSE(window.KeepsProgramRunning());
}

TEST_F(SchedulerWindow, DisplayOffTouchesNothingElseAndTheProgramRunsOn) {
    ui::LoadedForm mainWindow;
    mainWindow.Load();
    Schedule(L"0", L"0", 5);
    TickAt(1000);
    EXPECT_EQ(power.calls, (Calls{"SendWindowMessage(" + RecordingPower::Hex(reinterpret_cast<Handle>(window.hwnd())) +
                                  ", 0x112, 0xf170, 2)"}));
    EXPECT_EQ(programEnds, 0);
    EXPECT_FALSE(window.TaskPending());
    Schedule(L"3", L"30", 5);  // and the window can be used again
    EXPECT_TRUE(window.TaskPending());
    mainWindow.Unload();
}

TEST_F(SchedulerWindow, OnlyAShownWindowOrAPendingTaskKeepsTheProgramRunning) {
    Open();
    EXPECT_TRUE(window.KeepsProgramRunning());
    Click(kBt3);  // hidden with nothing to do: an invisible program would never end
    EXPECT_EQ(programEnds, 1);
    Open();
    Schedule(L"0", L"0");
    EXPECT_TRUE(window.KeepsProgramRunning());
    EXPECT_EQ(programEnds, 1);
    TickAt(1000);
    // The notice that follows the action keeps the program until it closes.
    EXPECT_FALSE(window.KeepsProgramRunning());
    EXPECT_TRUE(window.Notice().Shown());
    EXPECT_EQ(programEnds, 1);
    window.Notice().P_Click();
    EXPECT_EQ(programEnds, 2);
}

}  // namespace
}  // namespace quilvane::power::testing
