// The delayed shutdown as a person uses it, in the real program with real clicks and keys.
// Every task is 1000 minutes ahead and cancelled or dropped before the tour ends: the program
// here performs real power actions, and none may ever come due.

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "main_window_layout.h"
#include "set_clses_design.h"
#include "test_support.h"
#include "tour.h"

namespace quilvane::tours {
namespace {

using namespace quilvane::testing;
using power::SchedulerControl;

ui::TwipsRect SchedulerPlace(SchedulerControl id) { return PlaceInWindow(power::kSchedulerDesign, id); }

// An arrow of a spin box, 225 x 135 twips, 255 twips in from its right edge.
ui::TwipsRect ArrowOf(SchedulerControl box, bool up) {
    const ui::TwipsRect place = SchedulerPlace(box);
    return {place.left + place.width - 255, place.top + (up ? 30 : 165), 225, 135};
}

struct ShutdownTour : ::testing::Test {
    TempFolder app;
    std::unique_ptr<Program> program;
    HWND main = nullptr;
    HWND scheduler = nullptr;

    void SetUp() override {
        program = std::make_unique<Program>(ProgramPath(), app.Path());
        main = program->WaitForWindow(L"Quilvane文件分割器V1.13");
        ASSERT_NE(main, nullptr) << "the main window did not appear";
        BringToFront(main);
    }
    // "关机" on the main window; the scheduler comes up in front.
    void OpenScheduler() {
        const ui::TwipsRect button = PlaceInWindow(app::kMainWindowDesign, app::kCommand1);
        // A click that reaches a new program before it takes input is lost: a person clicks again.
        ASSERT_TRUE(WaitUntil([&] {
            Click(ScreenPointOf(main, button));
            scheduler = program->WaitForWindow(L"延时关机", std::chrono::seconds(3));
            return scheduler != nullptr;
        })) << "the scheduler did not appear";
        ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == scheduler; }));
        ASSERT_TRUE(FocusReaches(scheduler));
    }
    HWND Control(SchedulerControl id) { return GetDlgItem(scheduler, id); }
    // The number of a spin box: its first text box.
    HWND NumberOf(SchedulerControl box) { return FindWindowExW(Control(box), nullptr, L"Edit", nullptr); }
    void ClickOn(SchedulerControl id) { Click(ScreenPointOf(scheduler, SchedulerPlace(id))); }
    bool Shows(SchedulerControl id) { return IsWindowVisible(Control(id)) != FALSE; }
    bool Hidden(HWND window) {
        return WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); });
    }
    // 1000 minutes typed over the selected minutes, then Enter: "确定".
    void ScheduleFarAhead() {
        TypeText(L"1000");
        ASSERT_TRUE(WaitUntil([&] { return TextOf(NumberOf(power::kText1)) == L"1000"; }));
        PressKey(VK_RETURN);
        ASSERT_TRUE(Hidden(scheduler));
    }
    void CancelTask() {
        OpenScheduler();
        ClickOn(power::kBt2);
        ASSERT_TRUE(WaitUntil([&] { return TextOf(Control(power::kLbl)) == L"当前无任务"; }));
    }
};

TEST_F(ShutdownTour, SchedulesShowsTheCountdownAndCancels) {
    OpenScheduler();
    EXPECT_FALSE(Shows(power::kLbl));
    EXPECT_FALSE(Shows(power::kBt2));
    TypeText(L"1000");
    ASSERT_TRUE(WaitUntil([&] { return TextOf(NumberOf(power::kText1)) == L"1000"; }));
    ClickOn(power::kCommand1);
    ASSERT_TRUE(Hidden(scheduler)) << "确定 hides the window";

    OpenScheduler();
    EXPECT_TRUE(WaitUntil([&] { return TextOf(Control(power::kLbl)).rfind(L"剩余:16:", 0) == 0; }))
        << TextOf(Control(power::kLbl));
    EXPECT_TRUE(Shows(power::kBt2));
    ClickOn(power::kBt2);
    EXPECT_TRUE(WaitUntil([&] { return TextOf(Control(power::kLbl)) == L"当前无任务"; }));
    EXPECT_TRUE(WaitUntil([&] { return !Shows(power::kBt2); }));
}

TEST_F(ShutdownTour, ArrowsStepTheMinutesAndOnlyDigitsCanBeTyped) {
    OpenScheduler();
    const HWND minutes = NumberOf(power::kText1);
    Click(ScreenPointOf(scheduler, ArrowOf(power::kText1, true)));
    Click(ScreenPointOf(scheduler, ArrowOf(power::kText1, true)));
    EXPECT_TRUE(WaitUntil([&] { return TextOf(minutes) == L"7"; })) << TextOf(minutes);
    Click(ScreenPointOf(scheduler, ArrowOf(power::kText1, false)));
    EXPECT_TRUE(WaitUntil([&] { return TextOf(minutes) == L"6"; })) << TextOf(minutes);
    EXPECT_NE(FocusedIn(scheduler), minutes) << "an arrow click takes the caret off the number";

    Click(CentreOf(minutes));
    ASSERT_TRUE(FocusReaches(minutes));
    PressKey(VK_END);
    TypeText(L"-.a5");
    EXPECT_TRUE(WaitUntil([&] { return TextOf(minutes) == L"65"; })) << TextOf(minutes);
}

TEST_F(ShutdownTour, TheNoticeComesToItsCornerWithoutTakingTheFocusAndClosesOnItsGlyph) {
    OpenScheduler();
    TypeText(L"1000");
    PressKey(VK_TAB);  // past the locked action list to the lead
    PressKey(VK_END);
    TypeText(L"99999");  // longer than the delay: the notice comes on the first tick
    ASSERT_TRUE(WaitUntil([&] { return TextOf(NumberOf(power::kText2)) == L"3099999"; }))
        << TextOf(NumberOf(power::kText2));
    PressKey(VK_RETURN);
    ASSERT_TRUE(Hidden(scheduler));

    const HWND notice = program->WaitForWindow(L"Quilvane文件分割器 V1.12");
    ASSERT_NE(notice, nullptr) << "the notice did not appear";
    std::wstring lines;
    for (HWND line = GetWindow(notice, GW_CHILD); line; line = GetWindow(line, GW_HWNDNEXT))
        lines += TextOf(line) + L"|";
    // The seconds that really remain at the first tick: a second or two less than 60000.
    const std::wstring start = L"Quilvane文件分割器 V1.12||系统将在5999", end = L"秒之后关机||";
    EXPECT_EQ(lines.rfind(start, 0), 0u) << lines;
    EXPECT_EQ(lines.find(end), lines.size() - end.size()) << lines;
    EXPECT_NE(GetForegroundWindow(), notice);
    RECT place{}, workArea{};
    GetWindowRect(notice, &place);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    const int margin = ui::TwipsToPixels(39, ui::ScreenDpi());
    EXPECT_NEAR(place.right, GetSystemMetrics(SM_CXSCREEN) - margin, 1);
    EXPECT_NEAR(place.bottom, workArea.bottom - margin, 1);

    Click(ScreenPointOf(notice, {3180, 30, 225, 225}));
    EXPECT_TRUE(Hidden(notice)) << "a click on the glyph closes it";
    CancelTask();
}

TEST_F(ShutdownTour, APastedLeadIsRefusedByNameAndTheWindowStays) {
    OpenScheduler();
    TypeText(L"1000");  // far ahead, should the refusal ever fail
    PressKey(VK_TAB);
    const HWND lead = NumberOf(power::kText2);
    ASSERT_TRUE(WaitUntil([&] { return FocusedIn(scheduler) == lead; }));
    PutOnClipboard(L"-5");
    PressKey(VK_END);
    PressKey(VK_HOME, {VK_SHIFT});
    PressKey(VK_INSERT, {VK_SHIFT});  // a paste is no typing: the sign arrives
    ASSERT_TRUE(WaitUntil([&] { return TextOf(lead) == L"-5"; })) << TextOf(lead);
    PressKey(VK_RETURN);
    EXPECT_EQ(TakeNotice(*program), L"执行前提示的秒数只能填写数字（不带正负号和小数点）");
    EXPECT_TRUE(IsWindowVisible(scheduler));
    EXPECT_TRUE(WaitUntil([&] { return FocusedIn(scheduler) == lead; })) << "the caret is back in the seconds";
    TypeText(L"30");
    PressKey(VK_RETURN);
    ASSERT_TRUE(Hidden(scheduler)) << "the corrected lead starts the task";
    CancelTask();
}

TEST_F(ShutdownTour, TheTitleBarsCloseDropsTheTask) {
    OpenScheduler();
    ScheduleFarAhead();
    OpenScheduler();
    ASSERT_TRUE(WaitUntil([&] { return Shows(power::kBt2); }));
    // The close box at the right end of the caption.
    RECT outer{};
    GetWindowRect(scheduler, &outer);
    Click(POINT{outer.right - GetSystemMetrics(SM_CXFIXEDFRAME) - GetSystemMetrics(SM_CXSIZE) / 2,
                outer.top + GetSystemMetrics(SM_CYFIXEDFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2});
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(scheduler); })) << "the window is unloaded";
    OpenScheduler();
    EXPECT_FALSE(Shows(power::kLbl)) << "a new scheduler has no task";
    EXPECT_FALSE(Shows(power::kBt2));
    EXPECT_EQ(TextOf(NumberOf(power::kText1)), L"5");
}

TEST_F(ShutdownTour, AfterExitAPendingTaskStaysOnScreenAndTheProgramEndsWithIt) {
    OpenScheduler();
    ScheduleFarAhead();
    Click(ScreenPointOf(main, PlaceInWindow(app::kMainWindowDesign, app::kCommand3)));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(main); })) << "退出 closes the main window";
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(scheduler) && Shows(power::kBt2); }))
        << "the pending shutdown is on screen, ready to be cancelled";
    ClickOn(power::kBt3);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(scheduler); })) << "关闭 keeps it on the taskbar";
    EXPECT_TRUE(program->Running());
    ShowWindow(scheduler, SW_RESTORE);
    BringToFront(scheduler);
    ClickOn(power::kBt2);
    EXPECT_TRUE(program->WaitForExit()) << "cancelled, the program ends";
}

}  // namespace
}  // namespace quilvane::tours
