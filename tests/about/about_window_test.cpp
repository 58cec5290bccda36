// The About window under Wine, driven through window messages and real pointer input, with
// the shell calls recorded and the random number of the right click scripted.

#include <windows.h>
#include <psapi.h>

#include <atomic>
#include <chrono>
#include <new>
#include <deque>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "about_window.h"
#include "message_loop.h"
#include "twips.h"

namespace quilvane::about {
namespace {

// Records what would go to the shell; the window uses no other dialog.
class RecordingDialogs : public shell::Dialogs {
public:
    std::vector<std::string> opened;

    std::string PickFile(const std::string&, const std::string&, bool) override { return ""; }
    std::string PickFolder(const std::string&, HWND) override { return ""; }
    void OpenWithShell(const std::string& file, const std::string& parameters, int show) override {
        opened.push_back(file + "|" + parameters + "|" + std::to_string(show));
    }
    int ShowNotice(const std::string&, int) override { return IDOK; }
};

// Pumps messages until `done` holds or two seconds have passed.
template <class Condition>
bool PumpUntil(Condition done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        ui::PumpPendingMessages();
        Sleep(1);
    }
    return true;
}

int RaisedCells(const RippleState& state) {
    int raised = 0;
    for (std::int32_t height : state.currentHeights) raised += height != 0;
    return raised;
}

struct AboutWindow : ::testing::Test {
    shell::Skin se;
    RecordingDialogs dialogs;
    std::deque<double> uniforms;  // what the platform's generator will give
    int uniformsDrawn = 0;
    std::unique_ptr<frmUseset> window;

    void Open() {
        window = std::make_unique<frmUseset>(se, dialogs, nullptr, [this] {
            ++uniformsDrawn;
            const double next = uniforms.empty() ? 0.0 : uniforms.front();
            if (!uniforms.empty()) uniforms.pop_front();
            return next;
        });
        ASSERT_TRUE(window->Create());
    }
    HWND P1() const { return window->Control(kP1); }
    void Send(UINT message, WPARAM keys, POINT at) { SendMessageW(P1(), message, keys, MAKELPARAM(at.x, at.y)); }
    void Click(POINT at) {
        Send(WM_LBUTTONDOWN, MK_LBUTTON, at);
        Send(WM_LBUTTONUP, 0, at);
    }
    static POINT CentreOf(const RECT& area) {
        return POINT{(area.left + area.right) / 2, (area.top + area.bottom) / 2};
    }
    const RippleState& Water() const { return window->Ripple().State(); }
    void RightClickWith(double uniform) {
        uniforms.push_back(uniform);
        Send(WM_RBUTTONDOWN, MK_RBUTTON, POINT{150, 40});
        Send(WM_RBUTTONUP, 0, POINT{150, 40});
    }
};

TEST_F(AboutWindow, OpensWithThePictureUnderStillWater) {
    Open();
    wchar_t text[64] = {};
    GetWindowTextW(window->hwnd(), text, 64);
    EXPECT_STREQ(text, L"关于 Quilvane文件分割器V1.13");
    GetWindowTextW(window->Control(kBt1), text, 64);
    EXPECT_STREQ(text, L"确定(&S)");
    EXPECT_EQ(GetParent(window->Control(kBt1)), P1()) << "the button lies on the picture";
    const LONG style = GetWindowLongW(window->hwnd(), GWL_STYLE);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME))
        << "a fixed border, no minimise or maximise";

    const int dpi = ui::ScreenDpi();
    RECT client{};
    GetClientRect(window->hwnd(), &client);
    EXPECT_EQ(client.right, ui::TwipsToPixels(4695, dpi));
    EXPECT_EQ(client.bottom, ui::TwipsToPixels(3375, dpi));
    RECT picture{};
    GetClientRect(P1(), &picture);
    EXPECT_TRUE(EqualRect(&picture, &client)) << "the picture box fills the client area";

    ASSERT_TRUE(window->Ripple().Running());
    EXPECT_EQ(Water().width, MulDiv(317, dpi, 96));
    EXPECT_EQ(Water().height, MulDiv(310, dpi, 96));
    EXPECT_EQ(Water().flags, 0) << "still water, the first frame already shown, no automatic mode";
    EXPECT_EQ(RaisedCells(Water()), 0);
}

TEST_F(AboutWindow, RealPointerMovesRaiseTheWater) {
    Open();
    ShowWindow(window->hwnd(), SW_SHOW);
    SetForegroundWindow(window->hwnd());
    ui::PumpPendingMessages();
    POINT at{100, 50};  // on the sky, away from the click areas and the button
    ClientToScreen(P1(), &at);
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT move{};
    move.type = INPUT_MOUSE;
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    for (int step = 0; step < 2; ++step) {  // two positions, so a move is seen wherever the pointer was
        move.mi.dx = MulDiv(at.x + step, 65535, width - 1);
        move.mi.dy = MulDiv(at.y, 65535, height - 1);
        ASSERT_EQ(SendInput(1, &move, sizeof move), 1u);
    }
    EXPECT_TRUE(PumpUntil([&] { return RaisedCells(Water()) > 0; })) << "no drop after moving the pointer";
    EXPECT_TRUE(Water().flags & kWaterMoving);
}

TEST_F(AboutWindow, MovesAddA3x3DropExceptAtTheBorderAndOverTheClickAreas) {
    Open();
    Send(WM_MOUSEMOVE, 0, POINT{0, 40});
    Send(WM_MOUSEMOVE, 0, POINT{40, 0});
    Send(WM_MOUSEMOVE, 0, POINT{1, 1});
    Send(WM_MOUSEMOVE, 0, CentreOf(window->ClickArea(kLabel1)));
    Send(WM_MOUSEMOVE, 0, CentreOf(window->ClickArea(kLabel2)));
    EXPECT_EQ(RaisedCells(Water()), 0);
    EXPECT_FALSE(Water().flags & kWaterMoving);

    Send(WM_MOUSEMOVE, MK_LBUTTON | MK_RBUTTON, POINT{60, 30});  // whatever buttons are held
    EXPECT_EQ(RaisedCells(Water()), 9);
    EXPECT_EQ(Water().currentHeights[static_cast<std::size_t>(31 * Water().width + 61)], 256);

    // The window's timer drives the water; here its handler runs directly.
    window->Ripple().RippleTick();
    EXPECT_GT(RaisedCells(Water()), 9) << "the water spreads";
    EXPECT_FALSE(Water().flags & kFrameWaiting) << "the new frame went to the window";
}

TEST_F(AboutWindow, RightClickSwitchesToTheModeTheRandomNumberPicks) {
    Open();
    auto mode = [&] { return std::vector<int>{Water().mode, Water().count, Water().sizeLimit, Water().strengthLimit}; };
    RightClickWith(0.0);
    EXPECT_EQ(mode(), (std::vector<int>{2, 5, 4, 250})) << "a wandering drop";
    EXPECT_TRUE(Water().flags & kAutoModeOn);
    ASSERT_EQ(0.16666666666666666 * 3, 0.5);
    RightClickWith(0.16666666666666666);
    EXPECT_EQ(mode()[0], 2) << "0.5 rounds to the even 0";
    RightClickWith(0.2);
    EXPECT_EQ(mode(), (std::vector<int>{3, 250, 4, 8})) << "bursts of small drops";
    RightClickWith(0.5);
    EXPECT_EQ(mode(), (std::vector<int>{1, 5, 4, 150})) << "1.5 rounds to 2: rain";
    ASSERT_EQ(0.8333333333333334 * 3, 2.5);
    RightClickWith(0.8333333333333334);
    EXPECT_EQ(mode()[0], 1) << "2.5 rounds to the even 2";
    RightClickWith(0.9);
    EXPECT_EQ(mode()[0], 0);
    EXPECT_FALSE(Water().flags & kAutoModeOn) << "automatic drops off";
    EXPECT_EQ(uniformsDrawn, 6);

    Send(WM_LBUTTONDOWN, MK_LBUTTON, POINT{150, 40});
    Send(WM_LBUTTONUP, 0, POINT{150, 40});
    Send(WM_MBUTTONDOWN, MK_MBUTTON, POINT{150, 40});
    Send(WM_MBUTTONUP, 0, POINT{150, 40});
    EXPECT_EQ(uniformsDrawn, 6) << "the left and middle buttons choose nothing";
    EXPECT_EQ(RaisedCells(Water()), 0);
    EXPECT_TRUE(dialogs.opened.empty());
}

TEST_F(AboutWindow, ClickAreasOpenTheWebPageAndAMailThroughTheShell) {
    Open();
    const RECT web = window->ClickArea(kLabel1), mail = window->ClickArea(kLabel2);
    Click(CentreOf(web));
    Click(POINT{mail.left + 1, mail.bottom - 1});
    EXPECT_EQ(dialogs.opened, (std::vector<std::string>{"http://www.quilvane.cn||1", "mailto:kf@quilvane.cn||1"}));

    dialogs.opened.clear();
    Send(WM_LBUTTONDOWN, MK_LBUTTON, CentreOf(web));
    Send(WM_LBUTTONUP, 0, CentreOf(mail));  // pressed on one, released on the other
    Click(POINT{web.left - 2, CentreOf(web).y});
    Click(POINT{CentreOf(web).x, web.bottom + 2});
    EXPECT_TRUE(dialogs.opened.empty());
    EXPECT_EQ(uniformsDrawn, 0);
}

TEST_F(AboutWindow, OkButtonAndCloseBoxEndTheTimerAndFreeTheSurfaces) {
    Open();
    Send(WM_MOUSEMOVE, 0, POINT{60, 30});
    HWND handle = window->hwnd();
    SendMessageW(window->Control(kBt1), BM_CLICK, 0, 0);
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_FALSE(window->Ripple().Running());
    EXPECT_TRUE(window->Ripple().State().currentHeights.empty());

    Open();
    handle = window->hwnd();
    SendMessageW(handle, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_FALSE(window->Ripple().Running());

    Open();
    handle = window->hwnd();
    ShowWindow(handle, SW_SHOW);
    SetFocus(window->Control(kBt1));
    PostMessageW(window->Control(kBt1), WM_SYSCHAR, L's', 0);  // Alt+S
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(handle); }));
}

// GDI or user objects of this process. Wine answers GetGuiResources with "not implemented";
// there the low word of a handle still names its object, so the live ones are counted by index.
template <class IsLive>
DWORD GuiObjects(DWORD kind, IsLive isLive) {
    SetLastError(0);
    const DWORD counted = GetGuiResources(GetCurrentProcess(), kind);
    if (counted || GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return counted;
    DWORD live = 0;
    for (ULONG_PTR index = 1; index <= 0xFFFF; ++index) live += isLive(index) ? 1 : 0;
    return live;
}

DWORD GdiObjects() {
    return GuiObjects(GR_GDIOBJECTS,
                      [](ULONG_PTR index) { return GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0; });
}

// Counted by index, only windows are seen; they are what the About window makes.
DWORD UserObjects() {
    return GuiObjects(GR_USEROBJECTS, [](ULONG_PTR index) { return IsWindow(reinterpret_cast<HWND>(index)) != 0; });
}

// Blocks of the program's own C++ allocations still held: exact, unlike the process's memory,
// which the platform's heap keeps or returns in large pieces as it sees fit.
std::atomic<long> liveBlocks{0};

SIZE_T CommittedBytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PagefileUsage;
}

TEST_F(AboutWindow, AHundredOpeningsLeaveNoObjectsOrMemoryBehind) {
    auto openStirAndClose = [&] {
        Open();
        for (int x = 20; x < 200; x += 9) Send(WM_MOUSEMOVE, 0, POINT{x, 40});
        RightClickWith(0.2);
        for (int tick = 0; tick < 3; ++tick) window->Ripple().RippleTick();
        SendMessageW(window->Control(kBt1), BM_CLICK, 0, 0);
        window.reset();
    };
    for (int warmUp = 0; warmUp < 3; ++warmUp) openStirAndClose();
    const DWORD gdi = GdiObjects(), user = UserObjects();
    const SIZE_T committed = CommittedBytes();
    const long blocks = liveBlocks;
    for (int opening = 0; opening < 100; ++opening) openStirAndClose();
    EXPECT_EQ(liveBlocks, blocks);
    EXPECT_EQ(GdiObjects(), gdi);
    EXPECT_EQ(UserObjects(), user);
    // One effect with its surface holds about 1.7 MB at 96 dots per inch; the heap's own ups and
    // downs stay well below one leaked effect.
    EXPECT_LT(CommittedBytes(), committed + 1024 * 1024) << "from " << committed << " to " << CommittedBytes();
}

}  // namespace
}  // namespace quilvane::about

// Every C++ allocation of the test program is counted (the array forms come here too).
void* operator new(std::size_t size) {
    if (void* block = HeapAlloc(GetProcessHeap(), 0, size ? size : 1)) {
        ++quilvane::about::liveBlocks;
        return block;
    }
    throw std::bad_alloc();
}
void operator delete(void* block) noexcept {
    if (!block) return;
    --quilvane::about::liveBlocks;
    HeapFree(GetProcessHeap(), 0, block);
}
void operator delete(void* block, std::size_t) noexcept { operator delete(block); }
