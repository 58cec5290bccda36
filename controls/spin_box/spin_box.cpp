#include "spin_box.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "scaled_picture.h"
#include "spin_box_layout.h"
#include "spin_box_number.h"
#include "spin_box_resources.h"
#include "twips.h"

namespace quilvane::controls {
namespace {

constexpr wchar_t kClassName[] = L"QuilvaneSpinBox";
constexpr COLORREF kFirstOutline = RGB(84, 165, 213);
constexpr COLORREF kEnabledOutline = RGB(127, 157, 185);
constexpr COLORREF kDisabledOutline = RGB(192, 192, 192);
constexpr ui::TwipsRect kFocusSinkPlace{1440, 1770, 915, 285};  // below the control: never seen

ui::SharedFont OrDefaultFont(ui::SharedFont font) { return font ? std::move(font) : std::make_shared<ui::FontSpec>(); }

ui::SharedFont DesignFont() {
    auto font = std::make_shared<ui::FontSpec>();
    font->face = L"Tahoma";
    font->points = 8.25;
    font->charset = DEFAULT_CHARSET;
    return font;
}

HWND CreateEdit(HWND parent, const wchar_t* text, const RECT& place) {
    return CreateWindowExW(0, L"EDIT", text, WS_CHILD | WS_VISIBLE | ES_LEFT | ES_AUTOHSCROLL, place.left, place.top,
                           place.right - place.left, place.bottom - place.top, parent, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

SpinBox::SpinBox(HWND host, const RECT& place, int id, ui::SharedFont hostFont)
    : dpi_(ui::ScreenDpi()),
      hostFont_(OrDefaultFont(std::move(hostFont))),
      font_(DesignFont()),
      outline_(kFirstOutline) {
    LoadPictures();
    CreateArgs args = CreateArgs::Child(kClassName, host, id, place);
    args.style |= WS_CLIPCHILDREN | WS_TABSTOP;
    args.classStyle = 0;  // a quick second click on an arrow is one more step, not a double click
    args.background = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    if (!Create(args)) throw std::runtime_error("cannot create the spin box");
    textBox_ = CreateEdit(
        hwnd(), L"0",
        ui::TwipsRect{spin_layout::kTextLeft, spin_layout::kTextTop, 720, spin_layout::kTextHeight}.ToPixels(dpi_));
    focusSink_ = CreateEdit(hwnd(), L"Text1", kFocusSinkPlace.ToPixels(dpi_));
    if (!textBox_ || !focusSink_) throw std::runtime_error("cannot create the spin box's text boxes");
    textBoxEvents_.Attach(textBox_, [this](UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        return OnTextBoxMessage(message, wParam, lParam, result);
    });
    ApplyFont();
    SetLayout();
}

// The windows go while every member their messages may reach still exists.
SpinBox::~SpinBox() { DestroyWhileHandlersLive(); }

void SpinBox::LoadPictures() {
    for (std::size_t slot = 0; slot < pictures_.size(); ++slot) {
        pictures_[slot] =
            ui::LoadScaledPicture(IDB_SPIN_ARROW_FIRST + static_cast<int>(slot) * ui::kIdsPerScaledPicture, dpi_);
        if (!pictures_[slot]) throw std::runtime_error("the spin box's arrow pictures are missing");
    }
}

void SpinBox::ResetPic() {
    if (downSlot_ != kDownNormal || upSlot_ != kUpNormal) ShowSlots(kUpNormal, kDownNormal);
}

bool SpinBox::Enabled() const { return IsWindowEnabled(hwnd()) != FALSE; }

void SpinBox::SetEnabled(bool enabled) {
    EnableWindow(hwnd(), enabled);
    EnableWindow(textBox_, enabled);
    if (enabled) {
        ResetPic();
        SetOutline(kEnabledOutline);
    } else {
        ShowSlots(kUpDisabled, kDownDisabled);
        SetOutline(kDisabledOutline);
    }
    Notify("Enabled");
}

bool SpinBox::Locked() const { return (GetWindowLongPtrW(textBox_, GWL_STYLE) & ES_READONLY) != 0; }

void SpinBox::SetLocked(bool locked) {
    SendMessageW(textBox_, EM_SETREADONLY, locked, 0);
    Notify("Locked");
}

std::wstring SpinBox::Text() const {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(textBox_)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(textBox_, text.data(), static_cast<int>(text.size()))));
    return text;
}

void SpinBox::SetText(const std::wstring& text) {
    SetWindowTextW(textBox_, text.c_str());
    Notify("Text");
}

void SpinBox::SetMax(std::int32_t max) {
    max_ = max;
    Notify("Max");
}

void SpinBox::SetMin(std::int32_t min) {
    min_ = min;
    Notify("Min");
}

void SpinBox::SetLargeChange(double step) {
    largeChange_ = step;
    Notify("LargeChange");
}

double SpinBox::Value() const { return LeadingNumber(Text()); }

void SpinBox::SetValue(double value) {
    SetWindowTextW(textBox_, NumberText(value).c_str());
    Notify("Value");
}

void SpinBox::SetFont(ui::SharedFont font) {
    if (!font) throw std::invalid_argument("spin box: no font given");
    font_ = std::move(font);
    ApplyFont();
    Notify("Font");
    SetLayout();
}

void SpinBox::InitProperties() {
    largeChange_ = 1;
    storedValue_ = 0;
    max_ = 32000;
    min_ = -32000;
    decimals_ = 0;
}

void SpinBox::ReadProperties(const ui::PropertyBag& bag) {
    // Only the control's own state: the number, the arrows and the outline keep their looks.
    EnableWindow(hwnd(), bag.Read<bool>("Enabled", true));
    SendMessageW(textBox_, EM_SETREADONLY, bag.Read<bool>("Locked", false), 0);
    SetWindowTextW(textBox_, bag.Read<std::wstring>("Text", L"Text1").c_str());
    max_ = bag.Read<std::int32_t>("Max", 32000);
    min_ = bag.Read<std::int32_t>("Min", -32000);
    decimals_ = static_cast<short>(bag.Read<std::int32_t>("Decimal", 0));
    largeChange_ = bag.Read<double>("LargeChange", 1);
    storedValue_ = bag.Read<double>("Value", 0);
    // A font equal to the host's was not stored: keep sharing the host's object.
    const ui::FontSpec font = bag.Read<ui::FontSpec>("Font", *hostFont_);
    font_ = font == *hostFont_ ? hostFont_ : std::make_shared<ui::FontSpec>(font);
    ApplyFont();
    SetLayout();
}

void SpinBox::WriteProperties(ui::PropertyBag& bag) const {
    bag.Write<bool>("Enabled", Enabled(), true);
    bag.Write<bool>("Locked", Locked(), false);
    bag.Write<std::wstring>("Text", Text(), L"Text1");
    bag.Write<std::int32_t>("Max", max_, 32000);
    bag.Write<std::int32_t>("Min", min_, -32000);
    bag.Write<std::int32_t>("Decimal", decimals_, 0);
    bag.Write<double>("LargeChange", largeChange_, 1);
    bag.Write<double>("Value", storedValue_, 0);
    bag.Write<ui::FontSpec>("Font", *font_, *hostFont_);
}

void SpinBox::ApplyFont() {
    ui::GdiObject<HFONT> made = ui::MakeFont(*font_, dpi_);
    SendMessageW(textBox_, WM_SETFONT, reinterpret_cast<WPARAM>(made.get()), TRUE);
    gdiFont_ = std::move(made);
}

void SpinBox::SetLayout() {
    if (layingOut_ || !textBox_) return;
    layingOut_ = true;
    namespace design = spin_layout;
    const auto px = [this](int twips) { return ui::TwipsToPixels(twips, dpi_); };
    RECT client{};
    GetClientRect(hwnd(), &client);
    const int requested = ui::PixelsToTwips(client.right, dpi_);
    const design::Layout layout = design::LayOut(requested, font_->points);
    const int width = layout.width > requested ? px(layout.width) : client.right;
    if (client.right != width || client.bottom != px(design::kHeight))
        SetWindowPos(hwnd(), nullptr, 0, 0, width, px(design::kHeight), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    upRect_ = ui::TwipsRect{layout.arrowLeft, design::kUpTop, design::kArrowWidth, design::kArrowHeight}.ToPixels(dpi_);
    downRect_ =
        ui::TwipsRect{layout.arrowLeft, design::kDownTop, design::kArrowWidth, design::kArrowHeight}.ToPixels(dpi_);
    SetWindowPos(textBox_, nullptr, px(design::kTextLeft), px(layout.textTop), std::max(px(layout.textWidth), 0),
                 px(design::kTextHeight), SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(hwnd(), nullptr, TRUE);
    layingOut_ = false;
}

void SpinBox::ShowSlots(int up, int down) {
    // Only a part whose picture really changes is drawn again.
    if (upSlot_ != up) {
        upSlot_ = up;
        InvalidateRect(hwnd(), &upRect_, FALSE);
    }
    if (downSlot_ != down) {
        downSlot_ = down;
        InvalidateRect(hwnd(), &downRect_, FALSE);
    }
}

void SpinBox::SetOutline(COLORREF colour) {
    outline_ = colour;
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void SpinBox::Paint() {
    ui::PaintScope paint(hwnd());
    RECT client{};
    GetClientRect(hwnd(), &client);
    ui::GdiObject<HBRUSH> outline(CreateSolidBrush(outline_));
    FrameRect(paint.dc(), &client, outline.get());
    ui::MemoryDc source(CreateCompatibleDC(paint.dc()));
    for (const auto& [part, slot] : {std::pair{upRect_, upSlot_}, std::pair{downRect_, downSlot_}}) {
        BITMAP size{};
        GetObjectW(pictures_[static_cast<std::size_t>(slot)].get(), sizeof size, &size);
        ui::Selection selected(source.get(), pictures_[static_cast<std::size_t>(slot)].get());
        // The picture drawn for this scale, centred in its part and cut to it.
        const int width = std::min<int>(size.bmWidth, part.right - part.left);
        const int height = std::min<int>(size.bmHeight, part.bottom - part.top);
        BitBlt(paint.dc(), part.left + (part.right - part.left - width) / 2,
               part.top + (part.bottom - part.top - height) / 2, width, height, source.get(),
               (size.bmWidth - width) / 2, (size.bmHeight - height) / 2, SRCCOPY);
    }
}

void SpinBox::Notify(const char* name) {
    if (auto handler = PropertyChanged) handler(name);
}

}  // namespace quilvane::controls
