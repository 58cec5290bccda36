// Building the e-mail window's controls from its design table.

#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "emlssea.h"
#include "utf16.h"

namespace quilvane::mail {

void Emlssea::CreateControls() {
    hfont_ = ui::MakeFont(*font_, dpi_);
    for (const ControlDesign& design : kEmlsseaDesign) {
        const HWND container = design.container == kWindow ? hwnd() : controls_.at(design.container);
        const RECT place = design.place.ToPixels(dpi_);
        switch (design.kind) {
        case ControlKind::Group: {
            ui::Frame& frame = design.id == kFrame1 ? frame1_ : frame2_;
            frame.Create(container, design.id, place, true);
            controls_[design.id] = frame.hwnd();
            break;
        }
        case ControlKind::DropDownList:
            combo1_ = std::make_unique<controls::DropDownList>(container, place, design.id, font_);
            combo1_->SetLocked(false);  // a server can be typed as well as chosen
            controls_[design.id] = combo1_->hwnd();
            break;
        default: controls_[design.id] = CreateStandardControl(design, container, place);
        }
        // A heading lies on its group's outline, so it goes above the group.
        if (design.kind == ControlKind::Heading)
            SetWindowPos(controls_[design.id], HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    SendMessageW(Control(kText4), EM_SETPASSWORDCHAR, L'*', 0);
    AddListTip();
}

HWND Emlssea::CreateStandardControl(const ControlDesign& design, HWND container, const RECT& place) {
    const wchar_t* windowClass = L"EDIT";
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    DWORD exStyle = WS_EX_CLIENTEDGE;
    switch (design.kind) {
    case ControlKind::Heading:
    case ControlKind::Label:
        windowClass = L"STATIC";
        style |= SS_NOPREFIX | (design.kind == ControlKind::Heading ? SS_CENTER : SS_LEFT);
        exStyle = 0;
        break;
    case ControlKind::Button:
        windowClass = L"BUTTON";
        style |= BS_PUSHBUTTON | WS_TABSTOP;
        exStyle = 0;
        break;
    case ControlKind::ListBox:
        windowClass = L"LISTBOX";
        style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP;
        break;
    case ControlKind::MultilineEdit:
        style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP;
        break;
    case ControlKind::PasswordEdit: style |= ES_PASSWORD | ES_AUTOHSCROLL | WS_TABSTOP; break;
    case ControlKind::ReadOnlyEdit: style |= ES_READONLY | ES_AUTOHSCROLL | WS_TABSTOP; break;
    default: style |= ES_AUTOHSCROLL | WS_TABSTOP; break;
    }
    HWND control =
        CreateWindowExW(exStyle, windowClass, design.caption, style, place.left, place.top, place.right - place.left,
                        place.bottom - place.top, container, reinterpret_cast<HMENU>(static_cast<INT_PTR>(design.id)),
                        GetModuleHandleW(nullptr), nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(hfont_.get()), FALSE);
    if (design.maxLength > 0) SendMessageW(control, EM_SETLIMITTEXT, static_cast<WPARAM>(design.maxLength), 0);
    return control;
}

// The list explains its double-click when the pointer rests on it.
void Emlssea::AddListTip() {
    INITCOMMONCONTROLSEX tips{sizeof tips, ICC_BAR_CLASSES};
    InitCommonControlsEx(&tips);
    const HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = hwnd();
    tool.uId = reinterpret_cast<UINT_PTR>(Control(kList1));
    tool.lpszText = const_cast<wchar_t*>(kListTip);
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    listTip_ = tip;
}

// Long paths can be scrolled into view sideways.
void Emlssea::FitListWidth() {
    const HWND list = Control(kList1);
    ui::WindowDc dc(list);
    ui::Selection font(dc.get(), hfont_.get());
    int widest = 0;
    for (const std::string& path : Attachments()) {
        const std::wstring text = Widen(path);
        SIZE size{};
        GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
        widest = std::max(widest, static_cast<int>(size.cx));
    }
    SendMessageW(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest + ui::TwipsToPixels(120, dpi_)), 0);
}

}  // namespace quilvane::mail
