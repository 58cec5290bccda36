// The spin box driven by window messages: stepping, typing, its pictures and outline, the
// focus after a click, its layout for the host's fonts and its stored properties.

#include "spin_box.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "twips.h"

namespace quilvane::controls {
namespace {

// One shown host for the whole program: Wine takes a while to take a top-level window down.
HWND SharedHost() {
    static HWND host = [] {
        HWND window = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 400, 200,
                                      nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        SetForegroundWindow(window);
        return window;
    }();
    return host;
}

int Px(int twips) { return ui::TwipsToPixels(twips, ui::ScreenDpi()); }

class SpinBoxTest : public ::testing::Test {
protected:
    // The scheduler's minutes: text 5, Max 1000, Min 0, in the host's font.
    SpinBoxTest() {
        ui::PropertyBag design;
        design.Write<std::wstring>("Text", L"5", L"Text1");
        design.Write<std::int32_t>("Max", 1000, 32000);
        design.Write<std::int32_t>("Min", 0, -32000);
        box.ReadProperties(design);
        box.Change = [this] { ++changes; };
    }

    static POINT Centre(const RECT& part) { return {(part.left + part.right) / 2, (part.top + part.bottom) / 2}; }
    void Send(UINT message, POINT at, WPARAM keys = 0) {
        SendMessageW(box.hWnd(), message, keys, MAKELPARAM(at.x, at.y));
    }
    void Click(const RECT& part) {
        Send(WM_LBUTTONDOWN, Centre(part), MK_LBUTTON);
        Send(WM_LBUTTONUP, Centre(part));
    }
    void ClickUp() { Click(box.UpArrowRect()); }
    void ClickDown() { Click(box.DownArrowRect()); }
    void Type(const std::wstring& characters) {
        const LRESULT end = GetWindowTextLengthW(box.TextBoxWindow());
        SendMessageW(box.TextBoxWindow(), EM_SETSEL, end, end);
        for (wchar_t c : characters) SendMessageW(box.TextBoxWindow(), WM_CHAR, c, 0);
    }
    RECT TextBoxPlace() const {
        RECT place{};
        GetWindowRect(box.TextBoxWindow(), &place);
        MapWindowPoints(nullptr, box.hWnd(), reinterpret_cast<POINT*>(&place), 2);
        return place;
    }

    ui::SharedFont hostFont = std::make_shared<ui::FontSpec>();
    SpinBox box{SharedHost(), RECT{10, 10, 10 + Px(900), 10 + Px(330)}, 7, hostFont};
    int changes = 0;
};

using SpinBoxStepping = SpinBoxTest;

TEST_F(SpinBoxStepping, UpStepsWhileBelowMaxAndMayPassItByOneStep) {
    box.SetMax(10);
    box.SetText(L"9.5");
    ClickUp();
    EXPECT_EQ(box.Text(), L"10.5");
    ClickUp();
    EXPECT_EQ(box.Text(), L"10.5");
}

TEST_F(SpinBoxStepping, DownStepsWhileAboveMinAndMayPassItByOneStep) {
    box.SetText(L"0");
    ClickDown();
    EXPECT_EQ(box.Text(), L"0");
    box.SetText(L"0.5");
    ClickDown();
    EXPECT_EQ(box.Text(), L"-0.5");
}

TEST_F(SpinBoxStepping, TextWithoutANumberStepsFromZero) {
    box.SetText(L"abc");
    EXPECT_EQ(box.Value(), 0);
    ClickUp();
    EXPECT_EQ(box.Text(), L"1");
    box.SetLargeChange(0.25);
    ClickUp();
    EXPECT_EQ(box.Text(), L"1.25");
}

TEST_F(SpinBoxStepping, OnlyALeftPressAndReleaseOnTheSameArrowIsAClick) {
    Send(WM_LBUTTONDOWN, Centre(box.UpArrowRect()), MK_LBUTTON);
    Send(WM_LBUTTONUP, Centre(box.DownArrowRect()));
    Send(WM_RBUTTONDOWN, Centre(box.UpArrowRect()), MK_RBUTTON);
    Send(WM_RBUTTONUP, Centre(box.UpArrowRect()));
    Send(WM_LBUTTONUP, Centre(box.UpArrowRect()));  // no press before it
    EXPECT_EQ(box.Text(), L"5");
    EXPECT_EQ(box.UpSlot(), SpinBox::kUpPressed);  // any button shows the pressed look
}

TEST_F(SpinBoxStepping, AClickTakesTheFocusOffTheNumber) {
    SetFocus(box.hWnd());
    ASSERT_EQ(GetFocus(), box.TextBoxWindow());
    ClickDown();
    EXPECT_EQ(GetFocus(), box.FocusSinkWindow());
    EXPECT_EQ(box.Text(), L"4");
    RECT sink{}, control{};
    GetWindowRect(box.FocusSinkWindow(), &sink);
    GetWindowRect(box.hWnd(), &control);
    EXPECT_GE(sink.top, control.bottom);  // where nobody sees it
}

using SpinBoxTyping = SpinBoxTest;

TEST_F(SpinBoxTyping, OnlyDigitsAndBackspaceReachTheNumber) {
    box.SetText(L"1");
    changes = 0;
    Type(L"-.a, \x01\x16\x1b");
    EXPECT_EQ(box.Text(), L"1");
    EXPECT_EQ(changes, 0);
    Type(L"7");
    EXPECT_EQ(box.Text(), L"17");
    EXPECT_EQ(changes, 1);
    Type(L"\b");
    EXPECT_EQ(box.Text(), L"1");
}

TEST_F(SpinBoxTyping, EveryChangeOfTheTextIsReported) {
    changes = 0;
    box.SetText(L"12");
    box.SetValue(30);
    ClickUp();
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(box.Value(), 31);
}

using SpinBoxLooks = SpinBoxTest;

TEST_F(SpinBoxLooks, HoverShowsOnOneArrowAtATimeAndEndsOverTheNumber) {
    Send(WM_MOUSEMOVE, Centre(box.UpArrowRect()));
    EXPECT_EQ(box.UpSlot(), SpinBox::kUpHover);
    EXPECT_EQ(box.DownSlot(), SpinBox::kDownNormal);
    Send(WM_MOUSEMOVE, Centre(box.DownArrowRect()));
    EXPECT_EQ(box.UpSlot(), SpinBox::kUpNormal);
    EXPECT_EQ(box.DownSlot(), SpinBox::kDownHover);
    Send(WM_LBUTTONDOWN, Centre(box.DownArrowRect()), MK_LBUTTON);
    EXPECT_EQ(box.DownSlot(), SpinBox::kDownPressed);
    Send(WM_LBUTTONUP, Centre(box.DownArrowRect()));
    EXPECT_EQ(box.DownSlot(), SpinBox::kDownPressed);  // until the pointer moves again
    SendMessageW(box.TextBoxWindow(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(box.UpSlot(), SpinBox::kUpNormal);
    EXPECT_EQ(box.DownSlot(), SpinBox::kDownNormal);
}

TEST_F(SpinBoxLooks, MovingWithinAnArrowDrawsNothingAgain) {
    const POINT inside = Centre(box.UpArrowRect());
    Send(WM_MOUSEMOVE, inside);
    UpdateWindow(box.hWnd());
    Send(WM_MOUSEMOVE, POINT{inside.x + 1, inside.y});
    EXPECT_FALSE(GetUpdateRect(box.hWnd(), nullptr, FALSE));
    Send(WM_MOUSEMOVE, POINT{1, 1});  // the bare outline: both arrows at rest, the up one redrawn
    RECT redrawn{};
    ASSERT_TRUE(GetUpdateRect(box.hWnd(), &redrawn, FALSE));
    const RECT up = box.UpArrowRect();
    EXPECT_TRUE(EqualRect(&redrawn, &up));
}

TEST_F(SpinBoxLooks, DisablingGreysArrowsOutlineAndNumberAndEnablingTurnsThemBlue) {
    EXPECT_EQ(box.OutlineColour(), RGB(84, 165, 213));  // as designed, until set
    box.SetEnabled(false);
    EXPECT_EQ(box.UpSlot(), SpinBox::kUpDisabled);
    EXPECT_EQ(box.DownSlot(), SpinBox::kDownDisabled);
    EXPECT_EQ(box.OutlineColour(), RGB(192, 192, 192));
    EXPECT_FALSE(IsWindowEnabled(box.TextBoxWindow()));
    box.SetEnabled(true);
    EXPECT_EQ(box.UpSlot(), SpinBox::kUpNormal);
    EXPECT_EQ(box.DownSlot(), SpinBox::kDownNormal);
    EXPECT_EQ(box.OutlineColour(), RGB(127, 157, 185));
    EXPECT_TRUE(IsWindowEnabled(box.TextBoxWindow()));
}

TEST_F(SpinBoxLooks, ArrowsShowThePictureOfTheirSlotAtTheScreensScale) {
    const RECT up = box.UpArrowRect();
    EXPECT_EQ(up.right - up.left, Px(225));
    EXPECT_EQ(up.bottom - up.top, Px(135));
    const auto middleOfUp = [&] {
        RedrawWindow(box.hWnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        ui::WindowDc dc(box.hWnd());
        return GetPixel(dc.get(), Centre(up).x, Centre(up).y);
    };
    EXPECT_EQ(middleOfUp(), RGB(48, 68, 112));  // the dark triangle
    box.SetEnabled(false);
    EXPECT_EQ(middleOfUp(), RGB(150, 150, 150));  // the grey one
}

using SpinBoxLayout = SpinBoxTest;

TEST_F(SpinBoxLayout, WidthHasAMinimumAndTheHeightIsFixed) {
    SetWindowPos(box.hWnd(), nullptr, 0, 0, Px(300), 60, SWP_NOMOVE | SWP_NOZORDER);
    RECT client{};
    GetClientRect(box.hWnd(), &client);
    EXPECT_EQ(client.right, Px(400));
    EXPECT_EQ(client.bottom, Px(330));
    EXPECT_EQ(box.UpArrowRect().left, Px(400 - 255));
}

TEST_F(SpinBoxLayout, TheNumberRisesForLargerFonts) {
    for (const auto& [points, top] : {std::pair{8.25, 60}, {9.0, 45}, {10.5, 30}, {11.5, 0}}) {
        auto font = std::make_shared<ui::FontSpec>();
        font->points = points;
        box.SetFont(font);
        EXPECT_EQ(TextBoxPlace().top, Px(top)) << points;
        EXPECT_EQ(TextBoxPlace().bottom - TextBoxPlace().top, Px(210)) << points;
    }
    EXPECT_EQ(TextBoxPlace().right - TextBoxPlace().left, Px(900 - 345));
}

using SpinBoxProperties = SpinBoxTest;

TEST_F(SpinBoxProperties, StoresOnlyWhatDiffersAndReadsItBack) {
    box.SetText(L"30");
    box.SetLargeChange(0.5);
    box.SetLocked(true);
    ui::PropertyBag stored;
    box.WriteProperties(stored);
    EXPECT_EQ(stored.writeOrder(), (std::vector<std::string>{"Enabled", "Locked", "Text", "Max", "Min", "Decimal",
                                                             "LargeChange", "Value", "Font"}));
    for (const char* name : {"Locked", "Text", "Max", "Min", "LargeChange"}) EXPECT_TRUE(stored.Contains(name)) << name;
    for (const char* name : {"Enabled", "Decimal", "Value", "Font"}) EXPECT_FALSE(stored.Contains(name)) << name;

    SpinBox loaded(SharedHost(), RECT{10, 50, 10 + Px(900), 50 + Px(330)}, 8, hostFont);
    loaded.ReadProperties(stored);
    EXPECT_EQ(loaded.Value(), 30);
    EXPECT_EQ(loaded.Max(), 1000);
    EXPECT_EQ(loaded.Min(), 0);
    EXPECT_EQ(loaded.LargeChange(), 0.5);
    EXPECT_TRUE(loaded.Locked());
    EXPECT_EQ(loaded.Font(), hostFont);  // the host's very font object
}

TEST_F(SpinBoxProperties, ANewInstanceHasTheDesignDefaults) {
    SpinBox fresh(SharedHost(), RECT{10, 50, 10 + Px(900), 50 + Px(330)}, 8, hostFont);
    fresh.InitProperties();
    EXPECT_EQ(fresh.Text(), L"0");
    EXPECT_EQ(fresh.Max(), 32000);
    EXPECT_EQ(fresh.Min(), -32000);
    EXPECT_EQ(fresh.LargeChange(), 1);
    EXPECT_EQ(fresh.Font()->face, L"Tahoma");
    EXPECT_EQ(fresh.Font()->points, 8.25);
}

TEST_F(SpinBoxProperties, LoadedDisabledOnlyTheControlItselfIsOff) {
    ui::PropertyBag stored;
    stored.Write<bool>("Enabled", false, true);
    SpinBox loaded(SharedHost(), RECT{10, 50, 10 + Px(900), 50 + Px(330)}, 8, hostFont);
    loaded.ReadProperties(stored);
    EXPECT_FALSE(loaded.Enabled());
    EXPECT_TRUE(IsWindowEnabled(loaded.TextBoxWindow()));
    EXPECT_EQ(loaded.UpSlot(), SpinBox::kUpNormal);
    EXPECT_EQ(loaded.OutlineColour(), RGB(84, 165, 213));
}

TEST_F(SpinBoxProperties, SettersTellTheHostByNameAndLoadingTellsNothing) {
    std::vector<std::string> notified;
    box.PropertyChanged = [&](const std::string& name) { notified.push_back(name); };
    box.ReadProperties(ui::PropertyBag{});
    box.SetEnabled(true);
    box.SetLocked(false);
    box.SetText(L"1");
    box.SetMax(5);
    box.SetMin(1);
    box.SetLargeChange(2);
    box.SetValue(3);
    box.SetFont(hostFont);
    EXPECT_EQ(notified,
              (std::vector<std::string>{"Enabled", "Locked", "Text", "Max", "Min", "LargeChange", "Value", "Font"}));
}

}  // namespace
}  // namespace quilvane::controls
