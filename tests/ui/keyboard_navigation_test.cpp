// Keyboard use of a plain top-level window, with real key strokes through SendInput.

#include <windows.h>

#include <chrono>
#include <memory>
#include <thread>

#include <gtest/gtest.h>

#include "keyboard_navigation.h"
#include "message_loop.h"
#include "option_group.h"
#include "window.h"

namespace quilvane::ui {
namespace {

// Lets the keys sent so far arrive, waiting at most a few seconds for `condition`.
bool RunUntil(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        PumpPendingMessages();
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

void Press(WORD key, std::initializer_list<WORD> held = {}) {
    std::vector<INPUT> inputs;
    auto add = [&](WORD k, bool up) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = k;
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(input);
    };
    for (WORD k : held) add(k, false);
    add(key, false);
    add(key, true);
    for (WORD k : held) add(k, true);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// A host window that counts what its buttons report.
class Host : public Window {
public:
    bool Open() {
        CreateArgs args;
        args.className = L"QuilvaneNavigationTestHost";
        args.title = L"navigation";
        args.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
        args.x = 50;
        args.y = 50;
        args.width = 400;
        args.height = 300;
        return Create(args);
    }
    HWND Add(const wchar_t* className, const wchar_t* caption, DWORD style, int y) {
        return CreateWindowExW(0, className, caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, 10, y, 200, 24,
                               hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(++lastId_)),
                               GetModuleHandleW(nullptr), nullptr);
    }
    std::vector<HWND> clicked;
    OptionGroup* group = nullptr;

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
            const HWND from = reinterpret_cast<HWND>(lParam);
            clicked.push_back(from);
            if (group && group->Contains(from)) group->Select(from);
            return 0;
        }
        return Default(message, wParam, lParam);
    }

private:
    int lastId_ = 0;
};

struct KeyboardNavigationTest : ::testing::Test {
    Host host;
    KeyboardNavigation navigation;
    OptionGroup options;
    HWND name = nullptr, first = nullptr, second = nullptr, save = nullptr, disabled = nullptr, clear = nullptr,
         below = nullptr;

    void SetUp() override {
        ASSERT_TRUE(host.Open());
        name = host.Add(L"EDIT", L"text", ES_AUTOHSCROLL, 10);
        first = host.Add(L"BUTTON", L"one", BS_RADIOBUTTON, 40);
        second = host.Add(L"BUTTON", L"two", BS_RADIOBUTTON, 70);
        save = host.Add(L"BUTTON", L"保存(&S)", BS_PUSHBUTTON, 100);
        disabled = host.Add(L"BUTTON", L"off", BS_PUSHBUTTON, 130);
        clear = host.Add(L"BUTTON", L"清空(&C)", BS_PUSHBUTTON, 160);
        below = host.Add(L"BUTTON", L"out of sight", BS_PUSHBUTTON, 900);  // below the client area
        EnableWindow(disabled, FALSE);
        options.SetOptions({first, second});
        host.group = &options;
        navigation.Attach(host.hwnd());
        navigation.SetTabOrder({name, first, second, save, disabled, clear, below});
        navigation.AddOptionGroup(options);
        ShowWindow(host.hwnd(), SW_SHOW);
        SetForegroundWindow(host.hwnd());
        ASSERT_TRUE(RunUntil([&] { return GetForegroundWindow() == host.hwnd(); }));
        navigation.FocusFirst();
    }
    bool FocusBecomes(HWND control) {
        return RunUntil([&] { return GetFocus() == control; });
    }
};

TEST_F(KeyboardNavigationTest, TabSkipsWhatCannotTakeTheFocusAndEntersAGroupAtItsSelection) {
    ASSERT_TRUE(FocusBecomes(name));
    Press(VK_TAB);
    EXPECT_TRUE(FocusBecomes(first));
    Press(VK_TAB);
    EXPECT_TRUE(FocusBecomes(save)) << "the unselected option is skipped";
    Press(VK_TAB);
    EXPECT_TRUE(FocusBecomes(clear)) << "a disabled button is skipped";
    Press(VK_TAB);
    EXPECT_TRUE(FocusBecomes(name)) << "a control outside the window is skipped, and the order wraps";
    Press(VK_TAB, {VK_SHIFT});
    EXPECT_TRUE(FocusBecomes(clear));
}

TEST_F(KeyboardNavigationTest, ArrowsMoveTheSelectionWithinTheGroup) {
    Press(VK_TAB);
    ASSERT_TRUE(FocusBecomes(first));
    Press(VK_DOWN);
    ASSERT_TRUE(FocusBecomes(second));
    EXPECT_EQ(options.Selected(), second);
    Press(VK_DOWN);
    EXPECT_TRUE(FocusBecomes(first)) << "the group wraps round";
    EXPECT_EQ(options.Selected(), first);
}

TEST_F(KeyboardNavigationTest, AltWithTheMarkedLetterAndEnterPressButtons) {
    Press('C', {VK_MENU});
    ASSERT_TRUE(RunUntil([&] { return !host.clicked.empty(); }));
    EXPECT_EQ(host.clicked.back(), clear);
    EXPECT_EQ(GetFocus(), clear);

    Press(VK_RETURN);
    ASSERT_TRUE(RunUntil([&] { return host.clicked.size() == 2; }));
    EXPECT_EQ(host.clicked.back(), clear) << "Enter presses the focused button";

    navigation.SetDefaultButton(save);
    SetFocus(name);
    Press(VK_RETURN);
    ASSERT_TRUE(RunUntil([&] { return host.clicked.size() == 3; }));
    EXPECT_EQ(host.clicked.back(), save) << "from a field, Enter presses the default button";
}

TEST_F(KeyboardNavigationTest, FocusComesBackWhenTheWindowIsActivatedAgain) {
    SetFocus(clear);
    const HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPED | WS_VISIBLE, 500, 50, 100, 100, nullptr,
                                       nullptr, GetModuleHandleW(nullptr), nullptr);
    SetForegroundWindow(other);
    ASSERT_TRUE(RunUntil([&] { return GetForegroundWindow() == other; }));
    SetForegroundWindow(host.hwnd());
    EXPECT_TRUE(FocusBecomes(clear));
    DestroyWindow(other);
}

}  // namespace
}  // namespace quilvane::ui
