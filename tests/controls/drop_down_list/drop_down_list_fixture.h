#pragma once
// A visible host window with one drop-down list and, after it, a text box that is the next
// tab stop. The list is left closed after every test.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "drop_down_list.h"
#include "subclass.h"
#include "twips.h"
#include "window.h"

namespace quilvane::controls::testing {

class TestHost : public ui::Window {
public:
    TestHost() {
        CreateArgs args;
        args.className = L"QuilvaneDropDownListTestHost";
        args.title = L"host";
        args.x = 40;
        args.y = 40;
        args.width = 480;
        args.height = 240;
        Create(args);
        ShowWindow(hwnd(), SW_SHOW);
        UpdateWindow(hwnd());
    }
};

// Stands in for the text box's own context menu (which would run a modal menu loop): it
// counts the requests that get through to the text box and answers them itself.
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

// One host for the whole program: Wine takes a while to take a shown top-level window down.
inline HWND SharedHost() {
    static TestHost host;
    return host.hwnd();
}

class DropDownListTest : public ::testing::Test {
protected:
    void TearDown() override {
        if (list.ListIsOpen()) SendMessageW(list.ListWindow(), CB_SHOWDROPDOWN, FALSE, 0);
        ReleaseCapture();
        DestroyWindow(next);
    }

    int Px(int twips) const { return ui::TwipsToPixels(twips, ui::ScreenDpi()); }
    RECT PlaceOf(HWND part) const {  // in the host's client coordinates
        RECT place{};
        GetWindowRect(part, &place);
        MapWindowPoints(nullptr, host, reinterpret_cast<POINT*>(&place), 2);
        return place;
    }
    void FillWith(std::initializer_list<const wchar_t*> items) {
        for (const wchar_t* item : items) list.AddItem(item);
    }
    static void Press(HWND window, UINT down, UINT up, int x = 3, int y = 3) {
        SendMessageW(window, down, down == WM_RBUTTONDOWN ? MK_RBUTTON : MK_LBUTTON, MAKELPARAM(x, y));
        SendMessageW(window, up, 0, MAKELPARAM(x, y));
    }
    static void LeftClick(HWND window) { Press(window, WM_LBUTTONDOWN, WM_LBUTTONUP); }

    HWND host = SharedHost();
    DropDownList list{host, RECT{10, 10, 210, 31}, 7};
    HWND next = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER, 10, 80, 120, 22,
                                host, nullptr, GetModuleHandleW(nullptr), nullptr);
    std::vector<std::string> notified;
};

}  // namespace quilvane::controls::testing
