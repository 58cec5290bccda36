// Building the scheduler's controls from its design table, and its list of power actions.

#include <algorithm>
#include <string>
#include <string_view>

#include "set_clses.h"
#include "string_ids.h"

namespace quilvane::power {

std::vector<std::wstring> PowerActionNames() {
    const wchar_t* text = nullptr;
    const int length = LoadStringW(GetModuleHandleW(nullptr), IDS_POWER_ACTIONS, reinterpret_cast<LPWSTR>(&text), 0);
    std::vector<std::wstring> names;
    if (length <= 0) return names;
    const std::wstring_view all(text, static_cast<std::size_t>(length));
    for (std::size_t start = 0; start <= all.size();) {
        const std::size_t end = std::min(all.find(L',', start), all.size());
        names.emplace_back(all.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

void FillActionList(controls::DropDownList& list) {
    for (const std::wstring& name : PowerActionNames()) list.AddItem(name);
    if (list.ListCount() > 0) list.SetListIndex(0);
}

void SetClses::CreateControls() {
    hfont_ = ui::MakeFont(*font_, dpi_);
    for (const SchedulerControlDesign& design : kSchedulerDesign) {
        const RECT place = design.place.ToPixels(dpi_);
        switch (design.kind) {
        case SchedulerControlKind::SpinBox: {
            auto& box = design.id == kText1 ? text1_ : text2_;
            box = CreateSpinBox(design, place);
            controls_[design.id] = box->hWnd();
            break;
        }
        case SchedulerControlKind::DropDownList:
            combo1_ = std::make_unique<controls::DropDownList>(hwnd(), place, design.id, font_);
            controls_[design.id] = combo1_->hWnd();
            break;
        default: controls_[design.id] = CreateStandardControl(design, place);
        }
    }
    navigation_.Attach(hwnd());
    navigation_.SetTabOrder(
        {Control(kText1), Control(kCombo1), Control(kText2), Control(kBt2), Control(kCommand1), Control(kBt3)});
    navigation_.SetDefaultButton(Control(kCommand1));
}

std::unique_ptr<controls::SpinBox> SetClses::CreateSpinBox(const SchedulerControlDesign& design, const RECT& place) {
    auto box = std::make_unique<controls::SpinBox>(hwnd(), place, design.id, font_);
    // The window's stored design: the number, 0 to 1000, in the window's font.
    ui::PropertyBag stored;
    stored.Write<std::wstring>("Text", design.caption, L"Text1");
    stored.Write<std::int32_t>("Max", kSpinBoxMax, 32000);
    stored.Write<std::int32_t>("Min", kSpinBoxMin, -32000);
    box->ReadProperties(stored);
    return box;
}

HWND SetClses::CreateStandardControl(const SchedulerControlDesign& design, const RECT& place) {
    const bool button = design.kind == SchedulerControlKind::Button;
    const DWORD style =
        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | (button ? BS_PUSHBUTTON | WS_TABSTOP : SS_LEFT | SS_NOPREFIX);
    const HWND control =
        CreateWindowExW(0, button ? L"BUTTON" : L"STATIC", design.caption, style, place.left, place.top,
                        place.right - place.left, place.bottom - place.top, hwnd(),
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(design.id)), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(hfont_.get()), FALSE);
    return control;
}

HWND SetClses::Control(SchedulerControl id) const {
    const auto found = controls_.find(id);
    return found == controls_.end() ? nullptr : found->second;
}

}  // namespace quilvane::power
