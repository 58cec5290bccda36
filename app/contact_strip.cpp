#include "contact_strip.h"

#include <windowsx.h>

namespace quilvane::app {

bool ContactStrip::Create(HWND parent, int id, const RECT& place, const RECT& labelPlace, std::wstring caption,
                          HFONT font, HBITMAP picture) {
    label_ = labelPlace;
    caption_ = std::move(caption);
    font_ = font;
    picture_ = picture;
    return Window::Create(CreateArgs::Child(L"QuilvaneContactStrip", parent, id, place));
}

bool ContactStrip::OverLabel(LPARAM position) const {
    const POINT at{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    return PtInRect(&label_, at);
}

LRESULT ContactStrip::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        ui::PaintScope paint(hwnd());
        RECT area{};
        GetClientRect(hwnd(), &area);
        FillRect(paint.dc(), &area, GetSysColorBrush(COLOR_BTNFACE));
        if (picture_) {
            ui::MemoryDc source(CreateCompatibleDC(paint.dc()));
            ui::Selection selected(source.get(), picture_);
            BITMAP size{};
            GetObjectW(picture_, sizeof size, &size);
            BitBlt(paint.dc(), 0, 0, size.bmWidth, size.bmHeight, source.get(), 0, 0, SRCCOPY);
        }
        ui::Selection font(paint.dc(), font_);
        SetBkMode(paint.dc(), TRANSPARENT);
        SetTextColor(paint.dc(), RGB(255, 255, 255));
        RECT text = label_;
        DrawTextW(paint.dc(), caption_.c_str(), -1, &text, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
        return 0;
    }
    case WM_SETCURSOR: {
        POINT at{};
        GetCursorPos(&at);
        ScreenToClient(hwnd(), &at);
        SetCursor(LoadCursorW(nullptr, PtInRect(&label_, at) ? IDC_HAND : IDC_ARROW));
        return TRUE;
    }
    case WM_LBUTTONUP:
        if (OverLabel(lParam) && LabelClicked) LabelClicked();
        return 0;
    default: return Default(message, wParam, lParam);
    }
}

}  // namespace quilvane::app
