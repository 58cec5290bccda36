// How the drop-down list answers the user: the mouse on its parts, the focus, picks in the
// opened list and the context-menu filter.

#include "drop_down_list.h"

#include <commctrl.h>

#include <exception>
#include <utility>

#include "twips.h"

namespace quilvane::controls {

namespace {

constexpr COLORREF kPanelColour = RGB(255, 255, 255);

short PointX(LPARAM point) { return static_cast<short>(LOWORD(point)); }
short PointY(LPARAM point) { return static_cast<short>(HIWORD(point)); }

short HeldButtons(WPARAM keys) {
    return static_cast<short>(((keys & MK_LBUTTON) ? 1 : 0) | ((keys & MK_RBUTTON) ? 2 : 0) |
                              ((keys & MK_MBUTTON) ? 4 : 0));
}

short ButtonOf(UINT message) {
    switch (message) {
    case WM_RBUTTONDOWN: return 2;
    case WM_MBUTTONDOWN: return 4;
    default: return 1;
    }
}

}  // namespace

void DropDownList::SetLists() {
    SendMessageW(list_, CB_SHOWDROPDOWN, ListIsOpen() ? FALSE : TRUE, 0);
    ResetPic();
}

void DropDownList::GetVates() {
    const HWND host = GetParent(hwnd());
    if (!host) return;
    // Shift held makes a Tab go backwards, so the focus passes on in the direction it came.
    const HWND next = GetNextDlgTabItem(host, hwnd(), GetKeyState(VK_SHIFT) < 0);
    // With no other tab stop the text box keeps the focus; it takes no typing when locked.
    if (next && next != hwnd() && !IsChild(hwnd(), next)) SetFocus(next);
}

void DropDownList::SetPopNo() {
    // Attaching again replaces the filter, so a second call never stacks it on itself.
    contextMenuFilter_.Attach(textBox_, [](UINT message, WPARAM, LPARAM, LRESULT& result) {
        if (message != WM_CONTEXTMENU) return false;
        result = 0;
        return true;
    });
}

void DropDownList::SetPopYs() { contextMenuFilter_.Detach(); }

LRESULT DropDownList::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE: SetLayout(); return 0;
    case WM_SETFOCUS:
        if (textBox_) SetFocus(textBox_);
        return 0;
    case WM_ERASEBKGND: {
        RECT client{};
        GetClientRect(hwnd(), &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, background_.get());
        return 1;
    }
    case WM_COMMAND:
        if (reinterpret_cast<HWND>(lParam) == list_ && list_ && HIWORD(wParam) == CBN_SELCHANGE) OnItemPicked();
        return 0;
    case WM_MOUSEMOVE: RaiseMouse(MouseMove, HeldButtons(wParam), wParam, lParam); return 0;
    default: return Default(message, wParam, lParam);
    }
}

std::optional<LRESULT> DropDownList::OnPanelMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
        // The text box is white whether it is locked or not; greyed text shows it disabled.
        const HDC dc = reinterpret_cast<HDC>(wParam);
        SetBkColor(dc, kPanelColour);
        SetTextColor(dc,
                     GetSysColor(IsWindowEnabled(reinterpret_cast<HWND>(lParam)) ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
        return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    }
    case WM_PAINT: {
        if (!panel_) return std::nullopt;
        ui::PaintScope paint(panel_->hwnd());
        RECT frame{};
        GetClientRect(hwnd(), &frame);
        ui::GdiObject<HBRUSH> frameBrush(CreateSolidBrush(outline_));
        FrameRect(paint.dc(), &frame, frameBrush.get());
        return 0;
    }
    default: return std::nullopt;
    }
}

std::optional<LRESULT> DropDownList::OnButtonMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!button_) return std::nullopt;
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        ShowSlot(kPressedSlot);
        UpdateWindow(button_->hwnd());  // the pressed look shows while the list opens
        SetLists();
        return 0;
    case WM_MOUSEMOVE:
        ShowSlot(kHoverSlot);
        RaiseMouse(MouseMove, HeldButtons(wParam), wParam, lParam);
        return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: PaintPicture(button_->hwnd(), pictures_.Slot(shownSlot_)); return 0;
    default: return std::nullopt;
    }
}

bool DropDownList::OnTextBoxMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        // The text box takes the button first (and a locked one passes the focus on).
        result = DefSubclassProc(textBox_, message, wParam, lParam);
        if (message == WM_LBUTTONDOWN) textBoxPressed_ = true;
        RaiseMouse(MouseDown, ButtonOf(message), wParam, lParam);
        return true;
    case WM_LBUTTONUP: {
        result = DefSubclassProc(textBox_, message, wParam, lParam);
        if (!std::exchange(textBoxPressed_, false)) return true;
        RECT client{};
        GetClientRect(textBox_, &client);
        if (!PtInRect(&client, POINT{PointX(lParam), PointY(lParam)})) return true;
        if (auto click = Click) click();
        if (Locked()) {
            ShowSlot(kPressedSlot);
            if (button_) UpdateWindow(button_->hwnd());
            SetLists();
        }
        return true;
    }
    case WM_MOUSEMOVE:
        result = DefSubclassProc(textBox_, message, wParam, lParam);
        RaiseMouse(MouseMove, HeldButtons(wParam), wParam, lParam);
        return true;
    case WM_SETFOCUS:
        result = DefSubclassProc(textBox_, message, wParam, lParam);
        if (Locked()) GetVates();
        return true;
    default: return false;
    }
}

// Every step runs even when the host's Click fails; that failure is reported afterwards.
void DropDownList::OnItemPicked() {
    std::exception_ptr failure;
    try {
        if (auto click = Click) click();
    } catch (...) {
        failure = std::current_exception();
    }
    SetTextBoxText(SelectedItemText());
    if (!Locked()) {
        SetFocus(textBox_);
        SendMessageW(textBox_, EM_SETSEL, 0, -1);
    }
    if (failure) std::rethrow_exception(failure);
}

void DropDownList::RaiseMouse(const std::function<void(short&, short&, float&, float&)>& event, short button,
                              WPARAM keys, LPARAM point) {
    if (!event) return;
    auto handler = event;  // the host may replace the handler while it runs
    short shift = static_cast<short>(((keys & MK_SHIFT) ? 1 : 0) | ((keys & MK_CONTROL) ? 2 : 0) |
                                     (GetKeyState(VK_MENU) < 0 ? 4 : 0));
    const float perPixel = static_cast<float>(ui::kTwipsPerInch) / static_cast<float>(dpi_);
    float x = static_cast<float>(PointX(point)) * perPixel;
    float y = static_cast<float>(PointY(point)) * perPixel;
    handler(button, shift, x, y);
}

}  // namespace quilvane::controls
