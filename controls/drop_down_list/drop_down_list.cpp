#include "drop_down_list.h"

#include <commctrl.h>

#include <cmath>
#include <stdexcept>
#include <utility>
#include <vector>

#include "drop_down_layout.h"
#include "twips.h"

namespace quilvane::controls {

namespace {

constexpr wchar_t kClassName[] = L"QuilvaneDropDownList";
constexpr wchar_t kPanelClassName[] = L"QuilvaneDropDownPanel";
constexpr wchar_t kButtonClassName[] = L"QuilvaneDropDownButton";

constexpr COLORREF kBackground = RGB(236, 233, 216);
constexpr COLORREF kFirstOutline = RGB(84, 165, 213);
constexpr COLORREF kEnabledOutline = RGB(127, 157, 185);
constexpr COLORREF kDisabledOutline = RGB(192, 192, 192);

constexpr int kPanelHeight = 465;  // twips; taller than the control, which clips it
constexpr int kVisibleItems = 8;   // rows the opened list shows before it scrolls
constexpr int kListId = 1;

ui::SharedFont OrDefaultFont(ui::SharedFont font) { return font ? std::move(font) : std::make_shared<ui::FontSpec>(); }

}  // namespace

DropDownList::DropDownList(HWND host, const RECT& place, int id, ui::SharedFont hostFont)
    : dpi_(ui::ScreenDpi()),
      hostFont_(OrDefaultFont(std::move(hostFont))),
      font_(hostFont_),
      background_(CreateSolidBrush(kBackground)),
      pictures_(dpi_),
      outline_(kFirstOutline) {
    CreateArgs args = CreateArgs::Child(kClassName, host, id, place);
    args.style |= WS_CLIPCHILDREN | WS_TABSTOP;
    args.background = nullptr;  // each instance paints with its own brush
    if (!Create(args)) throw std::runtime_error("cannot create the drop-down list");

    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const int width = ui::TwipsToPixels(kMinWidth, dpi_);
    // The combo box stays visible so its list can drop, but the panel above covers it.
    list_ =
        CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_CLIPSIBLINGS | CBS_DROPDOWNLIST, 0,
                        0, width, ui::TwipsToPixels(kHeight, dpi_), hwnd(),
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)), instance, nullptr);
    panel_ = std::make_unique<PartWindow>(
        kPanelClassName, hwnd(), RECT{0, 0, width, ui::TwipsToPixels(kPanelHeight, dpi_)},
        static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)),
        [this](UINT message, WPARAM wParam, LPARAM lParam) { return OnPanelMessage(message, wParam, lParam); });
    textBox_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_LEFT | ES_AUTOHSCROLL | ES_READONLY, 0, 0,
                               width, ui::TwipsToPixels(kTextHeight, dpi_), panel_->hwnd(), nullptr, instance, nullptr);
    button_ = std::make_unique<PartWindow>(
        kButtonClassName, panel_->hwnd(), RECT{0, 0, 1, 1}, nullptr,
        [this](UINT message, WPARAM wParam, LPARAM lParam) { return OnButtonMessage(message, wParam, lParam); });
    if (!list_ || !textBox_) throw std::runtime_error("cannot create the drop-down list");
    SetWindowPos(panel_->hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    textBoxEvents_.Attach(textBox_, [this](UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        return OnTextBoxMessage(message, wParam, lParam, result);
    });
    ApplyFont();
    SetLayout();
}

// The windows go while every member their messages may reach still exists.
DropDownList::~DropDownList() { DestroyWhileHandlersLive(); }

void DropDownList::ResetPic() { ShowSlot(kNormalSlot); }

std::wstring DropDownList::Text() const {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(textBox_)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(textBox_, text.data(), static_cast<int>(text.size()))));
    return text;
}

void DropDownList::SetText(const std::wstring& a) {
    SetTextBoxText(a);
    const LRESULT item =
        SendMessageW(list_, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(a.c_str()));
    if (item == CB_ERR) return;
    SendMessageW(list_, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
    Notify("Text");
}

void DropDownList::AddItem(const std::wstring& a, std::int32_t i) {
    LRESULT added;
    if (i == -1) {
        added = SendMessageW(list_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(a.c_str()));
    } else {
        if (i < 0 || i > ListCount()) throw std::out_of_range("the list has no position " + std::to_string(i));
        added = SendMessageW(list_, CB_INSERTSTRING, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(a.c_str()));
    }
    if (added == CB_ERR || added == CB_ERRSPACE) throw std::runtime_error("the list cannot take another item");
    SetTextBoxText(SelectedItemText());
}

void DropDownList::SetItemData(short i, std::int32_t j) {
    if (i < 0 || i >= ListCount()) throw std::out_of_range("the list has no item " + std::to_string(i));
    SendMessageW(list_, CB_SETITEMDATA, static_cast<WPARAM>(i), static_cast<LPARAM>(j));
}

std::int32_t DropDownList::ItemData(short i) const {
    if (i == -1) return 0;
    if (i < 0 || i >= ListCount()) throw std::out_of_range("the list has no item " + std::to_string(i));
    return static_cast<std::int32_t>(SendMessageW(list_, CB_GETITEMDATA, static_cast<WPARAM>(i), 0));
}

std::wstring DropDownList::List(std::int32_t i) const {
    if (i < -32768 || i > 32767) throw std::overflow_error("list position " + std::to_string(i) + " is too large");
    const LRESULT length = SendMessageW(list_, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    if (length == CB_ERR) return {};
    std::vector<wchar_t> text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied =
        SendMessageW(list_, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
    return copied == CB_ERR ? std::wstring() : std::wstring(text.data(), static_cast<std::size_t>(copied));
}

void DropDownList::RemoveItem(short i) {
    if (i < 0 || SendMessageW(list_, CB_DELETESTRING, static_cast<WPARAM>(i), 0) == CB_ERR)
        throw std::out_of_range("the list has no item " + std::to_string(i));
    SetTextBoxText(L"");
}

void DropDownList::Clear() {
    SendMessageW(list_, CB_RESETCONTENT, 0, 0);
    SetTextBoxText(L"");
}

void DropDownList::SetFont(ui::SharedFont a) {
    font_ = a ? std::move(a) : hostFont_;
    ApplyFont();
    SetLayout();
    Notify("Font");
}

short DropDownList::ListIndex() const { return static_cast<short>(SendMessageW(list_, CB_GETCURSEL, 0, 0)); }

void DropDownList::SetListIndex(short i) {
    // The combo box would quietly clear its selection for a position it does not have.
    if (i < -1 || i >= ListCount()) throw std::out_of_range("the list has no item " + std::to_string(i));
    SendMessageW(list_, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
    if (ListIndex() > -1) SetTextBoxText(SelectedItemText());
    Notify("ListIndex");
}

short DropDownList::ListCount() const { return static_cast<short>(SendMessageW(list_, CB_GETCOUNT, 0, 0)); }

bool DropDownList::Locked() const { return (GetWindowLongPtrW(textBox_, GWL_STYLE) & ES_READONLY) != 0; }

void DropDownList::SetLocked(bool b) {
    SendMessageW(textBox_, EM_SETREADONLY, b, 0);
    Notify("Locked");
}

void DropDownList::SetEnabled(bool b) {
    enabled_ = b;
    Notify("Enabled");
    EnableWindow(textBox_, b);
    if (b) {
        disabledLook_ = false;
        ResetPic();
        SetOutline(kEnabledOutline);
    } else {
        disabledLook_ = true;
        ShowSlot(kDisabledSlot);
        SetOutline(kDisabledOutline);
    }
}

void DropDownList::InitProperties() { enabled_ = false; }

void DropDownList::ReadProperties(const ui::PropertyBag& bag) {
    SetTextBoxText(bag.Read<std::wstring>("Text", L""));
    const ui::FontSpec font = bag.Read<ui::FontSpec>("Font", *hostFont_);
    font_ = font == *hostFont_ ? hostFont_ : std::make_shared<ui::FontSpec>(font);
    ApplyFont();
    // The list is still empty while loading, so only "no selection" can be applied; another
    // stored position is left unapplied.
    const std::int32_t index = bag.Read<std::int32_t>("ListIndex", -1);
    if (index >= -1 && index < ListCount()) SendMessageW(list_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(textBox_, EM_SETREADONLY, bag.Read<bool>("Locked", true), 0);
    SetLayout();
    // Only the flag: a loaded control looks and works enabled until SetEnabled is used.
    enabled_ = bag.Read<bool>("Enabled", false);
}

void DropDownList::WriteProperties(ui::PropertyBag& bag) const {
    bag.Write<std::wstring>("Text", Text(), L"");
    bag.Write<ui::FontSpec>("Font", *font_, *hostFont_);
    bag.Write<std::int32_t>("ListIndex", ListIndex(), -1);
    bag.Write<bool>("Locked", Locked(), true);
    bag.Write<bool>("Enabled", enabled_, false);
}

bool DropDownList::ListIsOpen() const { return SendMessageW(list_, CB_GETDROPPEDSTATE, 0, 0) != 0; }

HWND DropDownList::DropButtonWindow() const { return button_ ? button_->hwnd() : nullptr; }

void DropDownList::SetLayout() {
    if (layingOut_ || !panel_ || !button_ || !textBox_ || !list_) return;
    layingOut_ = true;
    const auto px = [this](int twips) { return ui::TwipsToPixels(twips, dpi_); };
    RECT client{};
    GetClientRect(hwnd(), &client);
    const DropDownLayout layout = LayOutDropDown(ui::PixelsToTwips(client.right, dpi_), font_->points);
    const int width = layout.width > ui::PixelsToTwips(client.right, dpi_) ? px(layout.width) : client.right;
    const int height = px(layout.height);
    if (client.right != width || client.bottom != height)
        SetWindowPos(hwnd(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const UINT keep = SWP_NOZORDER | SWP_NOACTIVATE;
    SetWindowPos(panel_->hwnd(), nullptr, 0, 0, width, px(kPanelHeight), keep);
    SetWindowPos(button_->hwnd(), nullptr, width - px(kButtonFromRight), px(kButtonTop), px(kButtonSize),
                 px(kButtonSize), keep);
    // The closed combo box ends where the control ends, so its list drops right under the control.
    RECT closed{};
    GetWindowRect(list_, &closed);
    SetWindowPos(list_, nullptr, 0, height - (closed.bottom - closed.top), width, listHeight_, keep);
    const int textTop = static_cast<int>(std::lround(layout.textTop * dpi_ / ui::kTwipsPerInch));
    SetWindowPos(textBox_, nullptr, px(kTextLeft), textTop, std::max(width - px(kTextFromRight), 0), px(kTextHeight),
                 keep);
    InvalidateRect(panel_->hwnd(), nullptr, TRUE);
    layingOut_ = false;
}

void DropDownList::ApplyFont() {
    ui::GdiObject<HFONT> made = ui::MakeFont(*font_, dpi_);
    SendMessageW(textBox_, WM_SETFONT, reinterpret_cast<WPARAM>(made.get()), TRUE);
    // The opened list shows its items in the same font as the text.
    SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(made.get()), TRUE);
    gdiFont_ = std::move(made);
    const auto field = static_cast<int>(SendMessageW(list_, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
    const auto row = static_cast<int>(SendMessageW(list_, CB_GETITEMHEIGHT, 0, 0));
    listHeight_ = field + 8 + kVisibleItems * row;  // room for the field, the rows and the frame
}

void DropDownList::ShowSlot(int slot) {
    // A button greyed by SetEnabled(false) keeps that look when pointed at or pressed.
    if (disabledLook_) slot = kDisabledSlot;
    if (shownSlot_ == slot) return;
    shownSlot_ = slot;
    if (button_) InvalidateRect(button_->hwnd(), nullptr, FALSE);
}

void DropDownList::SetOutline(COLORREF colour) {
    outline_ = colour;
    if (panel_) InvalidateRect(panel_->hwnd(), nullptr, TRUE);
}

void DropDownList::SetTextBoxText(const std::wstring& text) { SetWindowTextW(textBox_, text.c_str()); }

std::wstring DropDownList::SelectedItemText() const {
    const short selected = ListIndex();
    return selected < 0 ? std::wstring() : List(selected);
}

void DropDownList::Notify(const char* name) {
    if (auto handler = PropertyChanged) handler(name);
}

}  // namespace quilvane::controls
