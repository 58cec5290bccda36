#include "skin.h"

namespace quilvane::shell {

Skin::Skin() : face_(CreateSolidBrush(kFace)), field_(CreateSolidBrush(RGB(255, 255, 255))) {}

void Skin::ApplyTo(HWND window) {
    // Windows destroyed since (a closed mail or About window) need nothing any more.
    std::erase_if(skinned_, [](const auto& entry) { return !IsWindow(entry.first); });
    auto& subclass = skinned_[window];
    subclass = std::make_unique<ui::Subclass>();
    subclass->Attach(window, [this, window](UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        return Paint(window, message, wParam, lParam, result);
    });
    RedrawWindow(window, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_FRAME);
}

void Skin::Release(HWND window) { skinned_.erase(window); }

namespace {

bool IsEdit(HWND control) {
    wchar_t name[16] = {};
    GetClassNameW(control, name, 16);
    return lstrcmpiW(name, L"Edit") == 0;
}

}  // namespace

bool Skin::Paint(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    const auto dc = reinterpret_cast<HDC>(wParam);
    // Read-only fields ask for the static colour, but stay white like the others.
    if (message == WM_CTLCOLORSTATIC && IsEdit(reinterpret_cast<HWND>(lParam))) message = WM_CTLCOLOREDIT;
    switch (message) {
    case WM_ERASEBKGND: {
        RECT area{};
        GetClientRect(window, &area);
        FillRect(dc, &area, face_.get());
        result = 1;
        return true;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        result = reinterpret_cast<LRESULT>(face_.get());
        return true;
    case WM_CTLCOLOREDIT:
        SetBkColor(dc, RGB(255, 255, 255));
        result = reinterpret_cast<LRESULT>(field_.get());
        return true;
    default: return false;
    }
}

}  // namespace quilvane::shell
