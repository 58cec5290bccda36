// How the spin box answers the user: the pointer and the buttons on its arrows, keys typed
// into the number, and the focus.

#include "spin_box.h"

namespace quilvane::controls {
namespace {

POINT PointOf(LPARAM lParam) { return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}; }

// Digits and Backspace reach the number; every other character, the minus sign, the decimal
// point and control characters among them, is dropped before it does.
bool Typeable(WPARAM character) { return (character >= '0' && character <= '9') || character == 8; }

}  // namespace

void SpinBox::ImgUp_Click() {
    SetFocus(focusSink_);
    const double value = Value();
    if (value < max_) SetValue(value + largeChange_);
}

void SpinBox::ImgDown_Click() {
    SetFocus(focusSink_);
    const double value = Value();
    if (value > min_) SetValue(value - largeChange_);
}

SpinBox::Part SpinBox::PartAt(POINT at) const {
    if (PtInRect(&upRect_, at)) return Part::Up;
    if (PtInRect(&downRect_, at)) return Part::Down;
    return Part::None;
}

void SpinBox::OnPointerMove(POINT at) {
    RECT client{};
    GetClientRect(hwnd(), &client);
    if (!PtInRect(&client, at)) return;  // outside, while a held button keeps the pointer here
    switch (PartAt(at)) {
    case Part::Up: return ShowSlots(kUpHover, kDownNormal);
    case Part::Down: return ShowSlots(kUpNormal, kDownHover);
    case Part::None: return ResetPic();
    }
}

void SpinBox::OnButtonDown(UINT message, POINT at) {
    const Part part = PartAt(at);
    if (part == Part::Up) ShowSlots(kUpPressed, downSlot_);
    if (part == Part::Down) ShowSlots(upSlot_, kDownPressed);
    if (message != WM_LBUTTONDOWN || part == Part::None) return;
    // The release decides whether it was a click, wherever the pointer has gone meanwhile.
    pressed_ = part;
    SetCapture(hwnd());
}

void SpinBox::OnLeftButtonUp(POINT at) {
    const Part pressed = pressed_;
    pressed_ = Part::None;
    if (GetCapture() == hwnd()) ReleaseCapture();
    if (pressed == Part::None || PartAt(at) != pressed) return;
    if (pressed == Part::Up)
        ImgUp_Click();
    else
        ImgDown_Click();
}

bool SpinBox::OnTextBoxMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message == WM_MOUSEMOVE) ResetPic();
    if (message != WM_CHAR || Typeable(wParam)) return false;
    result = 0;
    return true;
}

LRESULT SpinBox::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE: SetLayout(); return 0;
    case WM_PAINT: Paint(); return 0;
    case WM_SETFOCUS:
        if (textBox_) SetFocus(textBox_);
        return 0;
    case WM_MOUSEMOVE: OnPointerMove(PointOf(lParam)); return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: OnButtonDown(message, PointOf(lParam)); return 0;
    case WM_LBUTTONUP: OnLeftButtonUp(PointOf(lParam)); return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != hwnd()) pressed_ = Part::None;
        return 0;
    case WM_COMMAND:
        if (reinterpret_cast<HWND>(lParam) == textBox_ && textBox_ && HIWORD(wParam) == EN_CHANGE)
            if (auto change = Change) change();
        return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
        // The number stays on white, locked or disabled; greyed digits show it disabled.
        const HDC dc = reinterpret_cast<HDC>(wParam);
        SetBkColor(dc, RGB(255, 255, 255));
        SetTextColor(dc,
                     GetSysColor(IsWindowEnabled(reinterpret_cast<HWND>(lParam)) ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
        return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    }
    default: return Default(message, wParam, lParam);
    }
}

}  // namespace quilvane::controls
