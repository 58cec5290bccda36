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

HWND SetClses::CreateCustomControl(const ui::ControlDesign& design, HWND container, const RECT& place) {
    if (design.kind == ControlKind::DropDownList) {
        combo1_ = std::make_unique<controls::DropDownList>(container, place, design.id, sharedFont());
        return combo1_->hWnd();
    }
    auto& box = design.id == kText1 ? text1_ : text2_;
    box = CreateSpinBox(design, place);
    return box->hWnd();
}

std::unique_ptr<controls::SpinBox> SetClses::CreateSpinBox(const ui::ControlDesign& design, const RECT& place) {
    auto box = std::make_unique<controls::SpinBox>(hwnd(), place, design.id, sharedFont());
    // The window's stored design: the number, 0 to 1000, in the window's font.
    ui::PropertyBag stored;
    stored.Write<std::wstring>("Text", design.caption, L"Text1");
    stored.Write<std::int32_t>("Max", kSpinBoxMax, 32000);
    stored.Write<std::int32_t>("Min", kSpinBoxMin, -32000);
    box->ReadProperties(stored);
    return box;
}

void SetClses::ConnectEvents() {
    Events(kCommand1).Click = [this] { Command1_Click(); };
    Events(kBt2).Click = [this] { bt2_Click(); };
    Events(kBt3).Click = [this] { bt3_Click(); };
}

}  // namespace quilvane::power
