// The corner notice: where it lands, what it shows, how long, and that the user's window
// keeps the focus.

#include "corner_notice.h"

#include <gtest/gtest.h>

#include "twips.h"

namespace quilvane::power {
namespace {

int Px(int twips) { return ui::TwipsToPixels(twips, ui::ScreenDpi()); }

// A window the user is typing in.
struct UsersWindow {
    UsersWindow() {
        window = CreateWindowExW(0, L"STATIC", L"user", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60, 300, 160, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
        field = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 10, 10, 200, 24, window, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
        SetForegroundWindow(window);
        SetFocus(field);
    }
    ~UsersWindow() { DestroyWindow(window); }
    HWND window, field;
};

class CornerNoticeTest : public ::testing::Test {
protected:
    ScreenArea screen{1280, 1024, 994, ui::ScreenDpi()};  // a taskbar 30 pixels high at the bottom
    Mitease notice{[this] { return screen; }};

    RECT Place() const {
        RECT place{};
        GetWindowRect(notice.hwnd(), &place);
        return place;
    }
    void ClickGlyph(POINT offset = {}) {
        const RECT glyph = notice.CloseGlyphRect();
        const LPARAM at =
            MAKELPARAM((glyph.left + glyph.right) / 2 + offset.x, (glyph.top + glyph.bottom) / 2 + offset.y);
        SendMessageW(notice.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(notice.hwnd(), WM_LBUTTONUP, 0, at);
    }
};

TEST_F(CornerNoticeTest, SitsInTheCornerAboveABottomTaskbar) {
    notice.ShowCornerNotice(L"", L"系统将在30秒之后关机", L"", 5);
    ASSERT_TRUE(notice.Shown());
    const PixelPoint expected = NoticeTopLeft(screen);
    const RECT place = Place();
    EXPECT_EQ(place.left, expected.x);
    EXPECT_EQ(place.top, expected.y);
    EXPECT_EQ(place.right - place.left, Px(kNoticeWidthTwips));
    EXPECT_EQ(place.bottom - place.top, Px(kNoticeHeightTwips));
    EXPECT_NEAR(screen.workAreaBottomPixels - place.bottom, Px(39), 1);
    EXPECT_NEAR(screen.widthPixels - place.right, Px(39), 1);
}

TEST_F(CornerNoticeTest, WithTheTaskbarElsewhereSitsInTheScreensCorner) {
    screen.workAreaBottomPixels = screen.heightPixels;
    notice.ShowCornerNotice(L"", L"", L"", 5);
    EXPECT_NEAR(screen.heightPixels - Place().bottom, Px(39), 1);
}

TEST_F(CornerNoticeTest, ShowsItsTitleAndThreeLinesAndLeavesTheFocusAlone) {
    UsersWindow user;
    ASSERT_EQ(GetFocus(), user.field);
    notice.ShowCornerNotice(L"一", L"系统将在30秒之后关机", L"三", 5);
    wchar_t title[64] = {};
    GetWindowTextW(notice.hwnd(), title, 64);
    EXPECT_STREQ(title, L"Quilvane文件分割器 V1.12");
    EXPECT_EQ(notice.Line(0), L"一");
    EXPECT_EQ(notice.Line(1), L"系统将在30秒之后关机");
    EXPECT_EQ(notice.Line(2), L"三");
    EXPECT_EQ(GetForegroundWindow(), user.window);
    EXPECT_EQ(GetFocus(), user.field);
    EXPECT_TRUE(GetWindowLongW(notice.hwnd(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);  // no taskbar button
    EXPECT_FALSE(GetWindowLongW(notice.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(GetWindowLongW(notice.hwnd(), GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME));
    ClickGlyph();
    EXPECT_EQ(GetFocus(), user.field);
}

TEST_F(CornerNoticeTest, ShowingAgainMovesRefillsAndRetimesTheSameWindow) {
    notice.ShowCornerNotice(L"", L"系统将在30秒之后关机", L"", 5);
    const HWND first = notice.hwnd();
    screen.workAreaBottomPixels = 900;
    notice.ShowCornerNotice(L"", L"系统将在9秒之后重启", L"", 9);
    EXPECT_EQ(notice.hwnd(), first);
    EXPECT_EQ(notice.Line(1), L"系统将在9秒之后重启");
    EXPECT_EQ(notice.DisplayMilliseconds(), 9000);
    EXPECT_EQ(Place().top, NoticeTopLeft(screen).y);
}

TEST_F(CornerNoticeTest, DisplayTimeStaysWithinOneToThirtyTwoSeconds) {
    for (const auto& [seconds, milliseconds] :
         {std::pair{5, 5000}, {1, 1000}, {32, 32000}, {33, 32000}, {100000, 32000}, {0, 1000}, {-7, 1000}}) {
        notice.ShowCornerNotice(L"", L"", L"", seconds);
        EXPECT_EQ(notice.DisplayMilliseconds(), milliseconds) << seconds;
    }
}

TEST_F(CornerNoticeTest, ClosesOnItsTimeAndOnTheGlyphAndComesBackAfresh) {
    notice.ShowCornerNotice(L"", L"a", L"", 5);
    notice.Timer1_Timer();
    EXPECT_FALSE(notice.Shown());
    EXPECT_EQ(notice.hwnd(), nullptr);
    notice.ShowCornerNotice(L"", L"b", L"", 5);
    ASSERT_TRUE(notice.Shown());
    EXPECT_EQ(notice.Line(1), L"b");
    ClickGlyph({0, Px(300)});  // below the glyph: the notice stays
    EXPECT_TRUE(notice.Shown());
    ClickGlyph();
    EXPECT_FALSE(notice.Shown());
}

TEST_F(CornerNoticeTest, KeepsTheProgramRunningOnlyWhileShown) {
    int programEnds = 0;
    ui::WhenNoFormIsLoaded([&] { ++programEnds; });
    notice.ShowCornerNotice(L"", L"", L"", 5);
    EXPECT_EQ(programEnds, 0);
    notice.P_Click();
    EXPECT_EQ(programEnds, 1);
    ui::WhenNoFormIsLoaded(nullptr);
}

TEST(CornerNoticeOnTheSystemScreen, FollowsTheWorkAreaTheSystemReports) {
    RECT saved{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &saved, 0);
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    RECT raised{0, 0, width, height - 48};
    RECT now{};
    if (!SystemParametersInfoW(SPI_SETWORKAREA, 0, &raised, 0) || !SystemParametersInfoW(SPI_GETWORKAREA, 0, &now, 0) ||
        !EqualRect(&now, &raised)) {
        SystemParametersInfoW(SPI_SETWORKAREA, 0, &saved, 0);
        GTEST_SKIP() << "the system keeps its own work area here";
    }
    Mitease notice;
    notice.ShowCornerNotice(L"", L"", L"", 5);
    RECT place{};
    GetWindowRect(notice.hwnd(), &place);
    SystemParametersInfoW(SPI_SETWORKAREA, 0, &saved, 0);
    EXPECT_NEAR(height - 48 - place.bottom, Px(39), 1);
    EXPECT_NEAR(width - place.right, Px(39), 1);
}

}  // namespace
}  // namespace quilvane::power
