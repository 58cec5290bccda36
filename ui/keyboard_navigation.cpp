#include "keyboard_navigation.h"

#include <algorithm>
#include <cwctype>
#include <string>

namespace quilvane::ui {
namespace {

constexpr const wchar_t* kProperty = L"QuilvaneKeyboardNavigation";

bool KeyHeld(int key) { return (GetKeyState(key) & 0x8000) != 0; }

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

bool IsNativeButton(HWND window) { return lstrcmpiW(ClassOf(window).c_str(), L"Button") == 0; }

// Push buttons and the program's own button-like controls say so when asked.
bool ActsAsButton(HWND window) {
    return window &&
           (SendMessageW(window, WM_GETDLGCODE, 0, 0) & (DLGC_BUTTON | DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

bool IsEdit(HWND window) { return lstrcmpiW(ClassOf(window).c_str(), L"Edit") == 0; }

bool WantsEnter(HWND window) {
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    return IsEdit(window) && (style & ES_MULTILINE) && (style & ES_WANTRETURN);
}

// An open drop-down list takes Enter for itself.
bool InsideOpenComboBox(HWND window) {
    for (HWND at = window; at; at = GetParent(at))
        if (lstrcmpiW(ClassOf(at).c_str(), L"ComboBox") == 0 && SendMessageW(at, CB_GETDROPPEDSTATE, 0, 0)) return true;
    return false;
}

// The letter after a single "&" in a caption, lower case; 0 when there is none.
wchar_t MnemonicOf(HWND window) {
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) return 0;
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != L'&') continue;
        if (text[i + 1] == L'&') {
            ++i;
            continue;
        }
        return static_cast<wchar_t>(std::towlower(text[i + 1]));
    }
    return 0;
}

}  // namespace

KeyboardNavigation::~KeyboardNavigation() {
    if (window_ && IsWindow(window_)) RemovePropW(window_, kProperty);
}

void KeyboardNavigation::Attach(HWND window) {
    window_ = window;
    SetPropW(window, kProperty, this);
    // The window remembers which control had the focus and gives it back on activation.
    activation_.Attach(window, [this](UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
        if (message == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE) {
            const HWND focus = GetFocus();
            if (focus && IsChild(window_, focus)) lastFocus_ = focus;
        } else if (message == WM_SETFOCUS) {
            if (lastFocus_ && IsWindow(lastFocus_) && IsChild(window_, lastFocus_) && CanTakeFocus(lastFocus_))
                SetFocus(lastFocus_);
            else
                FocusFirst();
            result = 0;
            return true;
        } else if (message == WM_NCDESTROY) {
            RemovePropW(window_, kProperty);
        }
        return false;
    });
}

void KeyboardNavigation::SetTabOrder(std::vector<HWND> order) { order_ = std::move(order); }

void KeyboardNavigation::AddOptionGroup(const OptionGroup& group) { groups_.push_back(&group); }

void KeyboardNavigation::FocusFirst() {
    for (HWND control : order_)
        if (CanTakeFocus(control)) return FocusControl(control);
}

HWND KeyboardNavigation::TabEntryOf(HWND window) const {
    for (HWND at = window; at && at != window_; at = GetParent(at))
        if (std::find(order_.begin(), order_.end(), at) != order_.end()) return at;
    return nullptr;
}

const OptionGroup* KeyboardNavigation::GroupOf(HWND window) const {
    for (const OptionGroup* group : groups_)
        if (group->Contains(window)) return group;
    return nullptr;
}

bool KeyboardNavigation::CanTakeFocus(HWND control) const {
    if (!IsWindowVisible(control)) return false;
    // A control whose middle lies outside the client area (a collapsed part) is out of reach.
    RECT client{}, place{};
    GetClientRect(window_, &client);
    MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&client), 2);
    GetWindowRect(control, &place);
    if (!PtInRect(&client, POINT{(place.left + place.right) / 2, (place.top + place.bottom) / 2})) return false;
    for (HWND at = control; at && at != window_; at = GetParent(at))
        if (!IsWindowEnabled(at)) return false;
    // Tab enters an option group at its selected option.
    const OptionGroup* group = GroupOf(control);
    return !group || !group->Selected() || group->Selected() == control;
}

void KeyboardNavigation::FocusControl(HWND control) {
    SetFocus(control);
    // A field reached from the keyboard has its text selected, ready to be typed over.
    const HWND focus = GetFocus();
    if (focus && IsEdit(focus) && !(GetWindowLongW(focus, GWL_STYLE) & ES_MULTILINE))
        SendMessageW(focus, EM_SETSEL, 0, -1);
}

void KeyboardNavigation::MoveFocus(bool forward) {
    if (order_.empty()) return;
    const auto count = static_cast<std::ptrdiff_t>(order_.size());
    const auto current = std::find(order_.begin(), order_.end(), TabEntryOf(GetFocus()));
    std::ptrdiff_t index = current == order_.end() ? (forward ? -1 : count) : current - order_.begin();
    for (std::ptrdiff_t step = 0; step < count; ++step) {
        index = ((forward ? index + 1 : index - 1) % count + count) % count;
        const HWND candidate = order_[static_cast<std::size_t>(index)];
        if (CanTakeFocus(candidate)) return FocusControl(candidate);
    }
}

bool KeyboardNavigation::MoveInGroup(HWND focus, bool forward) {
    const OptionGroup* group = GroupOf(focus);
    if (!group) return false;
    const HWND next = group->Neighbour(focus, forward);
    if (next != focus) {
        SetFocus(next);
        SendMessageW(next, BM_CLICK, 0, 0);
    }
    return true;
}

bool KeyboardNavigation::PressForEnter(HWND focus) {
    if (InsideOpenComboBox(focus) || WantsEnter(focus)) return false;
    const HWND target = ActsAsButton(focus) && !GroupOf(focus) ? focus : defaultButton_;
    if (!target || !IsWindowEnabled(target) || !IsWindowVisible(target)) return false;
    SendMessageW(target, BM_CLICK, 0, 0);
    return true;
}

bool KeyboardNavigation::PressMnemonic(wchar_t letter) {
    letter = static_cast<wchar_t>(std::towlower(letter));
    for (HWND control : order_) {
        if (MnemonicOf(control) != letter || !IsWindowVisible(control) || !IsWindowEnabled(control)) continue;
        SetFocus(control);
        if (ActsAsButton(control)) SendMessageW(control, BM_CLICK, 0, 0);
        return true;
    }
    return false;
}

bool KeyboardNavigation::Translate(const MSG& message) {
    const HWND focus = GetFocus();
    if (message.message == WM_SYSCHAR) return PressMnemonic(static_cast<wchar_t>(message.wParam));
    if (message.message != WM_KEYDOWN) return false;
    switch (message.wParam) {
    case VK_TAB:
        if (KeyHeld(VK_CONTROL) || KeyHeld(VK_MENU)) return false;
        MoveFocus(!KeyHeld(VK_SHIFT));
        return true;
    case VK_LEFT:
    case VK_UP: return MoveInGroup(focus, false);
    case VK_RIGHT:
    case VK_DOWN: return MoveInGroup(focus, true);
    case VK_RETURN: return PressForEnter(focus);
    case VK_ESCAPE:
        if (InsideOpenComboBox(focus) || !cancelButton_ || !IsWindowEnabled(cancelButton_)) return false;
        SendMessageW(cancelButton_, BM_CLICK, 0, 0);
        return true;
    case VK_SPACE:
        // Native buttons press themselves; the program's own ones are pressed here.
        if (!ActsAsButton(focus) || IsNativeButton(focus)) return false;
        SendMessageW(focus, BM_CLICK, 0, 0);
        return true;
    default: return false;
    }
}

bool TranslateNavigationKey(const MSG& message) {
    if (message.message != WM_KEYDOWN && message.message != WM_SYSCHAR) return false;
    if (!message.hwnd) return false;
    const HWND root = GetAncestor(message.hwnd, GA_ROOT);
    auto* navigation = static_cast<KeyboardNavigation*>(GetPropW(root, kProperty));
    return navigation && IsWindowEnabled(root) && navigation->Translate(message);
}

}  // namespace quilvane::ui
