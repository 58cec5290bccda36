#pragma once
// A shown host window holding one drop-down list and, after it, a text box that is the next
// tab stop. Every test leaves the list closed.

#include <windows.h>

#include <gtest/gtest.h>

#include "drop_down_list.h"
#include "subclass.h"
#include "twips.h"

namespace quilvane::controls::testing {

class TestHost : public ui::Window {
public:
    TestHost() {
        CreateArgs args;
        args.className = L"QuilvaneDropDownListTestHost";
        args.x = args.y = 40;
        args.width = 480;
        args.height = 240;
        Create(args);
        ShowWindow(hwnd(), SW_SHOW);
    }
};

// One host for the whole program: Wine takes seconds to take a shown top-level window down.
inline HWND SharedHost() {
    static TestHost host;
    return host.hwnd();
}

// Stands in for the text box's own context menu (a modal menu loop): counts the requests that
// get through to the text box and answers them itself.
class ContextMenuProbe {
public:
    explicit ContextMenuProbe(HWND textBox) {
        subclass_.Attach(textBox, [this](UINT message, WPARAM, LPARAM, LRESULT& result) {
            if (message != WM_CONTEXTMENU) return false;
            ++reached;
            result = 0;
            return true;
        });
    }
    int reached = 0;

private:
    ui::Subclass subclass_;
};

class DropDownListTest : public ::testing::Test {
protected:
    void TearDown() override {
        if (list.ListIsOpen()) SendMessageW(list.ListWindow(), CB_SHOWDROPDOWN, FALSE, 0);
        ReleaseCapture();
        DestroyWindow(next);
    }
    static int Px(int twips) { return ui::TwipsToPixels(twips, ui::ScreenDpi()); }
    static RECT ScreenRect(HWND window) {
        RECT place{};
        GetWindowRect(window, &place);
        return place;
    }
    static void Press(HWND window, UINT down, UINT up, int x = 3, int y = 3) {
        SendMessageW(window, down, down == WM_RBUTTONDOWN ? MK_RBUTTON : MK_LBUTTON, MAKELPARAM(x, y));
        SendMessageW(window, up, 0, MAKELPARAM(x, y));
    }
    void Fill(std::initializer_list<const wchar_t*> items) {
        for (const wchar_t* item : items) list.AddItem(item);
    }

    HWND host = SharedHost();
    DropDownList list{host, RECT{10, 10, 210, 31}, 7};
    HWND next = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 80, 120, 22, host, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
};

}  // namespace quilvane::controls::testing
