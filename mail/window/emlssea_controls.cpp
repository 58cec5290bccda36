// The e-mail window's server list, which handler each event runs, and the attachment list's
// tip and width.

#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "emlssea.h"
#include "utf16.h"

namespace quilvane::mail {

HWND Emlssea::CreateCustomControl(const ui::ControlDesign& design, HWND container, const RECT& place) {
    // The server list is the one control the form does not make itself.
    combo1_ = std::make_unique<controls::DropDownList>(container, place, design.id, sharedFont());
    combo1_->SetLocked(false);  // a server can be typed as well as chosen
    return combo1_->hwnd();
}

void Emlssea::ConnectEvents() {
    Events(kCmdYesONo).Click = [this] { cmdYesONo_Click(); };
    Events(kCommand1).Click = [this] { Command1_Click(); };
    Events(kCommand2).Click = [this] { Command2_Click(); };
    Events(kTCommand1).Click = [this] { tCommand1_Click(); };
    Events(kList1).DblClick = [this] { List1_DblClick(); };
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
    ui::Selection selected(dc.get(), font());
    int widest = 0;
    for (const std::string& path : Attachments()) {
        const std::wstring text = Widen(path);
        SIZE size{};
        GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
        widest = std::max(widest, static_cast<int>(size.cx));
    }
    SendMessageW(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest + Pixels(120)), 0);
}

}  // namespace quilvane::mail
