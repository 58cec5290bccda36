#include "frame.h"

namespace quilvane::ui {

bool Frame::Create(HWND parent, int id, const RECT& place, bool bordered) {
    bordered_ = bordered;
    CreateArgs args = CreateArgs::Child(L"QuilvaneFrame", parent, id, place);
    args.exStyle = WS_EX_CONTROLPARENT;
    return Window::Create(args);
}

LRESULT Frame::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_DROPFILES: return SendMessageW(GetParent(hwnd()), message, wParam, lParam);
    case WM_ERASEBKGND: {
        // The holder's skin decides the background; the outline goes on top of it.
        const LRESULT erased =
            SendMessageW(GetParent(hwnd()), WM_CTLCOLORDLG, wParam, reinterpret_cast<LPARAM>(hwnd()));
        RECT area{};
        GetClientRect(hwnd(), &area);
        FillRect(reinterpret_cast<HDC>(wParam), &area,
                 erased ? reinterpret_cast<HBRUSH>(erased) : GetSysColorBrush(COLOR_BTNFACE));
        if (bordered_) DrawEdge(reinterpret_cast<HDC>(wParam), &area, EDGE_ETCHED, BF_RECT);
        return 1;
    }
    default: return Default(message, wParam, lParam);
    }
}

}  // namespace quilvane::ui
