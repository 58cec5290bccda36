#include "picture_box.h"

#include <windowsx.h>

#include "handles.h"

namespace quilvane::about {
namespace {

short HeldButtons(WPARAM keys) {
    return static_cast<short>(((keys & MK_LBUTTON) ? 1 : 0) | ((keys & MK_RBUTTON) ? 2 : 0) |
                              ((keys & MK_MBUTTON) ? 4 : 0));
}

short ShiftState() {
    auto held = [](int key) { return (GetKeyState(key) & 0x8000) != 0; };
    return static_cast<short>((held(VK_SHIFT) ? 1 : 0) | (held(VK_CONTROL) ? 2 : 0) | (held(VK_MENU) ? 4 : 0));
}

}  // namespace

bool PictureBox::Create(HWND parent, int id, const RECT& place, HBITMAP picture) {
    picture_ = picture;
    CreateArgs args = CreateArgs::Child(L"QuilvanePictureBox", parent, id, place);
    args.style |= WS_CLIPCHILDREN;  // what is drawn on the box leaves its button alone
    args.classStyle = 0;            // every press is a press: no double clicks, and no redraw on resizing
    args.background = nullptr;      // the box paints all of itself
    return Window::Create(args);
}

void PictureBox::AddLabel(const RECT& area, std::function<void()> click) {
    labels_.push_back(Label{area, std::move(click)});
}

const PictureBox::Label* PictureBox::LabelAt(LPARAM position) const {
    const POINT at{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    for (const Label& label : labels_)
        if (PtInRect(&label.area, at)) return &label;
    return nullptr;
}

void PictureBox::RaiseMouse(const std::function<void(short&, short&, float&, float&)>& event, short button,
                            LPARAM position) {
    if (!event) return;
    short shift = ShiftState();
    float x = static_cast<float>(GET_X_LPARAM(position)), y = static_cast<float>(GET_Y_LPARAM(position));
    event(button, shift, x, y);
}

void PictureBox::Paint() {
    ui::PaintScope paint(hwnd());
    RECT area{};
    GetClientRect(hwnd(), &area);
    BITMAP size{};
    if (picture_ && GetObjectW(picture_, sizeof size, &size)) {
        ui::MemoryDc source(CreateCompatibleDC(paint.dc()));
        ui::Selection selected(source.get(), picture_);
        BitBlt(paint.dc(), 0, 0, size.bmWidth, size.bmHeight, source.get(), 0, 0, SRCCOPY);
        ExcludeClipRect(paint.dc(), 0, 0, size.bmWidth, size.bmHeight);
    }
    FillRect(paint.dc(), &area, GetSysColorBrush(COLOR_BTNFACE));
}

LRESULT PictureBox::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: Paint(); return 0;
    case WM_SETCURSOR: {
        // Also asked on behalf of the child button first; that one keeps its own pointer.
        if (reinterpret_cast<HWND>(wParam) != hwnd() || LOWORD(lParam) != HTCLIENT) break;
        POINT at{};
        GetCursorPos(&at);
        ScreenToClient(hwnd(), &at);
        SetCursor(LoadCursorW(nullptr, LabelAt(MAKELPARAM(at.x, at.y)) ? IDC_HAND : IDC_ARROW));
        return TRUE;
    }
    case WM_MOUSEMOVE:
        if (!pressedLabel_ && !LabelAt(lParam)) RaiseMouse(MouseMove, HeldButtons(wParam), lParam);
        return 0;
    case WM_LBUTTONDOWN:
        if (const Label* label = LabelAt(lParam)) {
            pressedLabel_ = label;
            SetCapture(hwnd());
            return 0;
        }
        RaiseMouse(MouseDown, 1, lParam);
        return 0;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (!LabelAt(lParam)) RaiseMouse(MouseDown, message == WM_RBUTTONDOWN ? 2 : 4, lParam);
        return 0;
    case WM_LBUTTONUP:
        if (const Label* pressed = pressedLabel_) {
            pressedLabel_ = nullptr;
            ReleaseCapture();
            if (LabelAt(lParam) == pressed && pressed->click) pressed->click();
        }
        return 0;
    case WM_CAPTURECHANGED: pressedLabel_ = nullptr; return 0;
    case WM_COMMAND:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC: return SendMessageW(GetParent(hwnd()), message, wParam, lParam);
    default: break;
    }
    return Default(message, wParam, lParam);
}

}  // namespace quilvane::about
