// The platform's own controls of a form: their window classes and styles by kind, and the
// keys, pastes and drops they pass to the form.

#include <windows.h>
#include <commctrl.h>
#include <imm.h>

#include "form.h"

namespace quilvane::ui {
namespace {

struct PlatformControl {
    const wchar_t* windowClass;
    DWORD style;
    DWORD exStyle;
};

PlatformControl PlatformControlFor(ControlKind kind) {
    constexpr DWORD kLine = ES_AUTOHSCROLL | WS_TABSTOP;
    switch (kind) {
    // Plain radio buttons: the window groups them itself, whatever the stacking order.
    case ControlKind::Option: return {L"BUTTON", BS_RADIOBUTTON | WS_TABSTOP, 0};
    case ControlKind::Button: return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
    case ControlKind::DefaultButton: return {L"BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP, 0};
    case ControlKind::Label: return {L"STATIC", SS_LEFT | SS_NOPREFIX, 0};
    case ControlKind::Heading: return {L"STATIC", SS_CENTER | SS_NOPREFIX, 0};
    case ControlKind::Edit: return {L"EDIT", kLine, WS_EX_CLIENTEDGE};
    case ControlKind::ReadOnlyEdit: return {L"EDIT", kLine | ES_READONLY, WS_EX_CLIENTEDGE};
    case ControlKind::PasswordEdit: return {L"EDIT", kLine | ES_PASSWORD, WS_EX_CLIENTEDGE};
    case ControlKind::MultilineEdit:
        return {L"EDIT", ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case ControlKind::ListBox:
        return {L"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    default: return {PROGRESS_CLASSW, 0, 0};
    }
}

}  // namespace

HWND Form::CreateStandardControl(const ControlDesign& design, HWND container, const RECT& place) {
    const PlatformControl platform = PlatformControlFor(design.kind);
    const RECT fitted = design.kind == ControlKind::Label ? FittingCaption(place, 0, design.caption) : place;
    const HWND control =
        CreateWindowExW(platform.exStyle, platform.windowClass, design.caption,
                        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | platform.style, fitted.left, fitted.top,
                        fitted.right - fitted.left, fitted.bottom - fitted.top, container,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(design.id)), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font()), FALSE);
    if (design.kind == ControlKind::PasswordEdit) SendMessageW(control, EM_SETPASSWORDCHAR, L'*', 0);
    if (design.limits.maxLength > 0)
        SendMessageW(control, EM_SETLIMITTEXT, static_cast<WPARAM>(design.limits.maxLength), 0);
    if (design.limits.latinOnly) ImmAssociateContextEx(control, nullptr, 0);
    // A heading lies on its frame's outline, so it goes above the frame.
    if (design.kind == ControlKind::Heading)
        SetWindowPos(control, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ListenToTextAndDrops(control, design.id);
    return control;
}

// Typed keys and pastes go to the control's events when it has them; dropped files go to the
// form's, since a platform control does not pass them on itself.
void Form::ListenToTextAndDrops(HWND control, int id) {
    auto& subclass = subclasses_.emplace_back(std::make_unique<Subclass>());
    subclass->Attach(control, [this, id](UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
        const ControlEvents& on = events_[id];
        if (message == WM_DROPFILES) {
            TakeDrop(wParam);
        } else if (message == WM_PASTE && on.Paste) {
            on.Paste();
        } else if (message == WM_CHAR && on.KeyPress) {
            short keyAscii = static_cast<short>(wParam);
            on.KeyPress(keyAscii);
            if (keyAscii != 0) return false;
        } else {
            return false;
        }
        result = 0;
        return true;
    });
}

}  // namespace quilvane::ui
