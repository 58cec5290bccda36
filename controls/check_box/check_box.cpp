#include "check_box.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>

#include "check_box_resources.h"
#include "scaled_picture.h"
#include "twips.h"

namespace quilvane::controls {
namespace {

constexpr wchar_t kClassName[] = L"QuilvaneCheckBox";
constexpr UINT_PTR kTimer1 = 1;
constexpr UINT kTimer1Interval = 10;  // ms

constexpr int kGlyphTwips = 195;
constexpr int kGlyphPixels = 13;  // at 100 %
constexpr SIZE kBackgroundPixels{200, 32};

constexpr COLORREF kButtonFace = 0x8000000F;
constexpr COLORREF kDisabledCaption = RGB(161, 161, 146);

enum Look { kNormal = 0, kHover = 1, kPressed = 2, kDisabled = 3 };
enum Button : short { kLeft = 1, kRight = 2, kMiddle = 4 };

COLORREF Resolve(COLORREF colour) {
    if (colour & 0x80000000u) return GetSysColor(static_cast<int>(colour & 0xFFu));
    return colour & 0x00FFFFFFu;
}

// The offset that centres a part `partTwips` high in a control `controlTwips` high: the
// difference is rounded to whole twips (halves to even), then halved with the fraction dropped.
int CentredTopTwips(double controlTwips, double partTwips) {
    return static_cast<int>(std::nearbyint(controlTwips - partTwips)) / 2;
}

short ShiftState() {
    return static_cast<short>((GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
                              (GetKeyState(VK_MENU) < 0 ? 4 : 0));
}

short ShiftOfPointer(WPARAM keys) {
    return static_cast<short>(((keys & MK_SHIFT) ? 1 : 0) | ((keys & MK_CONTROL) ? 2 : 0) |
                              (GetKeyState(VK_MENU) < 0 ? 4 : 0));
}

short ButtonsHeld(WPARAM keys) {
    return static_cast<short>(((keys & MK_LBUTTON) ? kLeft : 0) | ((keys & MK_RBUTTON) ? kRight : 0) |
                              ((keys & MK_MBUTTON) ? kMiddle : 0));
}

POINT PointOf(LPARAM lParam) { return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}; }

void Fill(HDC dc, const RECT& area, COLORREF colour) {
    ui::GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
    FillRect(dc, &area, brush.get());
}

void DrawPicture(HDC target, HBITMAP picture, int x, int y, int width, int height) {
    ui::MemoryDc source(CreateCompatibleDC(target));
    ui::Selection selected(source.get(), picture);
    BitBlt(target, x, y, width, height, source.get(), 0, 0, SRCCOPY);
}

}  // namespace

bool CheckBox::Create(HWND parent, int id, const RECT& pixels, Ambient ambient) {
    ambient_ = std::move(ambient);
    if (!ambient_.font) ambient_.font = std::make_shared<ui::FontSpec>();
    dpi_ = ui::ScreenDpi();
    if (!LoadPictures()) return false;

    CreateArgs args = CreateArgs::Child(kClassName, parent, id, pixels);
    args.style |= WS_TABSTOP;
    // No double-click style: a quick second click toggles the box again like the first.
    args.classStyle = 0;
    args.background = nullptr;
    if (!Window::Create(args)) return false;
    SetWindowTextW(hwnd(), caption_.c_str());

    ShowPic();
    Resize();
    StartLeavePoll();  // a control created under the pointer still learns when it leaves
    return true;
}

bool CheckBox::LoadPictures() {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        glyphs_[slot] = ui::LoadScaledPicture(IDB_CHECK_BOX_GLYPH0 + slot * ui::kIdsPerScaledPicture, dpi_);
        if (!glyphs_[slot]) return false;
    }
    background_ = ui::LoadScaledPicture(IDB_CHECK_BOX_BACKGROUND, dpi_);
    return static_cast<bool>(background_);
}

void CheckBox::InitProperties() {
    SetCaption(ambient_.displayName);
    SetEnabled(true);
    SetValue(0);
    SetFont(ambient_.font);
    SetBackColor(kButtonFace);
    SetForeColor(0);
}

void CheckBox::ReadProperties(const ui::PropertyBag& bag) {
    SetValue(bag.Read<std::int32_t>("Value", 0));
    SetCaption(bag.Read<std::wstring>("Caption", ambient_.displayName));
    SetEnabled(bag.Read<bool>("Enabled", true));
    // A font equal to the host's was not stored: keep sharing the host's object.
    const ui::FontSpec font = bag.Read<ui::FontSpec>("Font", *ambient_.font);
    SetFont(font == *ambient_.font ? ambient_.font : std::make_shared<ui::FontSpec>(font));
    SetBackColor(static_cast<COLORREF>(bag.Read<std::int32_t>("BackColor", static_cast<std::int32_t>(kButtonFace))));
    SetForeColor(static_cast<COLORREF>(bag.Read<std::int32_t>("ForeColor", 0)));
}

void CheckBox::WriteProperties(ui::PropertyBag& bag) const {
    bag.Write<ui::FontSpec>("Font", *font_, *ambient_.font);
    bag.Write<std::int32_t>("Value", value_, 0);
    bag.Write<std::wstring>("Caption", caption_, ambient_.displayName);
    bag.Write<bool>("Enabled", Enabled(), true);
    bag.Write<std::int32_t>("BackColor", static_cast<std::int32_t>(backColor_), static_cast<std::int32_t>(kButtonFace));
    bag.Write<std::int32_t>("ForeColor", static_cast<std::int32_t>(foreColor_), 0);
}

void CheckBox::SetValue(std::int32_t value) {
    value_ = value;
    Notify("Value");
    ShowPic();
}

std::int32_t CheckBox::ValueAfterClick(std::int32_t value) {
    if (value == 0) return 1;
    if (value == 1 || value == 2) return 0;
    return value;
}

void CheckBox::SetCaption(const std::wstring& caption) {
    caption_ = caption;
    if (hwnd()) SetWindowTextW(hwnd(), caption_.c_str());
    Resize();
    Notify("Caption");
}

bool CheckBox::Enabled() const { return hwnd() && IsWindowEnabled(hwnd()); }

void CheckBox::SetEnabled(bool enabled) {
    EnableWindow(hwnd(), enabled);
    ShowPic();  // also when the state did not change: it ends a hover look
    Redraw(nullptr);
}

void CheckBox::SetFont(ui::SharedFont font) {
    if (!font) throw std::invalid_argument("check box: no font given");
    font_ = std::move(font);
    Resize();
    Notify("Font");
}

void CheckBox::SetBackColor(COLORREF colour) {
    backColor_ = colour;
    Notify("BackColor");
    Redraw(nullptr);
}

void CheckBox::SetForeColor(COLORREF colour) {
    foreColor_ = colour;
    Notify("ForeColor");
    Redraw(nullptr);
}

COLORREF CheckBox::CaptionColor() const { return Enabled() ? Resolve(foreColor_) : kDisabledCaption; }

void CheckBox::Redraw(const RECT* area) {
    if (hwnd()) InvalidateRect(hwnd(), area, FALSE);
}

void CheckBox::Notify(const char* name) {
    if (auto handler = PropertyChanged) handler(name);
}

// Values outside 0-2 have no pictures: the glyph stays as it is.
void CheckBox::ShowLook(int look) {
    if (value_ < 0 || value_ > 2) return;
    const int slot = 4 * value_ + look;
    if (slot == shownSlot_) return;
    shownSlot_ = slot;
    Redraw(&glyphRect_);
}

void CheckBox::ShowPic() { ShowLook(Enabled() ? kNormal : kDisabled); }

void CheckBox::OnClick() {
    if (Click) Click();
    if (const std::int32_t next = ValueAfterClick(value_); next != value_) SetValue(next);
    ShowPic();
}

void CheckBox::OnButtonDown(short button, WPARAM keys, POINT at) {
    if (button == kLeft) {
        leftPressedHere_ = true;
        SetFocus(hwnd());
    }
    if (Enabled()) ShowLook(kPressed);
    const POINT part = PartCoordinates(at, false);
    short eventButton = button, shift = ShiftOfPointer(keys);
    float x = static_cast<float>(part.x), y = static_cast<float>(part.y);
    if (MouseDown) MouseDown(eventButton, shift, x, y);
}

void CheckBox::OnButtonUp(short button, WPARAM keys, POINT at) {
    const bool clicked = button == kLeft && std::exchange(leftPressedHere_, false);
    const POINT part = PartCoordinates(at, false);
    short eventButton = button, shift = ShiftOfPointer(keys);
    float x = static_cast<float>(part.x), y = static_cast<float>(part.y);
    if (MouseUp) MouseUp(eventButton, shift, x, y);
    if (clicked) OnClick();
}

void CheckBox::OnPointerMove(WPARAM keys, POINT at) {
    StartLeavePoll();
    const POINT part = PartCoordinates(at, true);
    RECT client{};
    GetClientRect(hwnd(), &client);
    if (part.x < 0 || part.y < 0 || part.x > client.right || part.y > client.bottom) return;

    const short held = ButtonsHeld(keys);
    short button = held, shift = ShiftOfPointer(keys);
    float x = static_cast<float>(part.x), y = static_cast<float>(part.y);
    if (MouseMove) MouseMove(button, shift, x, y);
    if (Enabled()) ShowLook(held == kLeft ? kPressed : kHover);
}

// The glyph reports points relative to itself; the caption reports its own corner for moves,
// so a move over the caption always counts as inside.
POINT CheckBox::PartCoordinates(POINT at, bool moving) const {
    if (PtInRect(&glyphRect_, at)) return POINT{at.x - glyphRect_.left, at.y - glyphRect_.top};
    if (PtInRect(&captionRect_, at)) {
        if (moving) return POINT{captionRect_.left, captionRect_.top};
        return POINT{at.x - captionRect_.left, at.y - captionRect_.top};
    }
    return at;
}

void CheckBox::StartLeavePoll() {
    if (leavePollRunning_) return;
    SetTimer(hwnd(), kTimer1, kTimer1Interval, nullptr);
    leavePollRunning_ = true;
}

void CheckBox::StopLeavePoll() {
    KillTimer(hwnd(), kTimer1);
    leavePollRunning_ = false;
}

void CheckBox::Timer1_Timer() {
    POINT at{};
    if (!GetCursorPos(&at)) return;  // no pointer position now (a locked desktop): ask again next tick
    ScreenToClient(hwnd(), &at);
    RECT client{};
    GetClientRect(hwnd(), &client);
    const bool outside = 0 > at.x || 0 > at.y || client.right < at.x || client.bottom < at.y;
    if (!outside) return;
    ShowPic();
    StopLeavePoll();
    if (MouseOut) MouseOut();
}

// The glyph sits at the left and the caption after it, each centred vertically; the design
// is in twips, so the places scale with the screen's DPI.
void CheckBox::Resize() {
    RECT client{};
    GetClientRect(hwnd(), &client);
    const double twipsPerPixel = static_cast<double>(ui::kTwipsPerInch) / dpi_;
    const double controlTwips = client.bottom * twipsPerPixel;

    const int glyphSide = ui::TwipsToPixels(kGlyphTwips, dpi_);
    const int glyphTop = ui::TwipsToPixels(CentredTopTwips(controlTwips, kGlyphTwips), dpi_);
    glyphRect_ = RECT{0, glyphTop, glyphSide, glyphTop + glyphSide};

    const SIZE text = MeasureCaption();
    const int captionLeft = ui::TwipsToPixels(kCaptionLeftTwips, dpi_);
    const int captionTop = ui::TwipsToPixels(CentredTopTwips(controlTwips, text.cy * twipsPerPixel), dpi_);
    captionRect_ = RECT{captionLeft, captionTop, captionLeft + text.cx, captionTop + text.cy};
    Redraw(nullptr);
}

SIZE CheckBox::MeasureCaption() {
    ui::WindowDc dc(hwnd());
    ui::Selection font(dc.get(), CurrentFont());
    if (caption_.empty()) {
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc.get(), &metrics);
        return SIZE{0, metrics.tmHeight};
    }
    RECT area{};
    DrawTextW(dc.get(), caption_.c_str(), static_cast<int>(caption_.size()), &area, DT_CALCRECT | DT_NOPREFIX);
    return SIZE{area.right, area.bottom};
}

// The host may change the shared font object itself; the GDI font follows it.
HFONT CheckBox::CurrentFont() {
    if (!gdiFont_ || gdiFontMadeFrom_ != *font_) {
        gdiFont_ = ui::MakeFont(*font_, dpi_);
        gdiFontMadeFrom_ = *font_;
    }
    return gdiFont_.get();
}

void CheckBox::Paint() {
    ui::PaintScope paint(hwnd());
    RECT client{};
    GetClientRect(hwnd(), &client);
    if (client.right <= 0 || client.bottom <= 0) return;

    // Drawn off screen first, so hovering never flickers.
    ui::MemoryDc canvas(CreateCompatibleDC(paint.dc()));
    ui::GdiObject<HBITMAP> buffer(CreateCompatibleBitmap(paint.dc(), client.right, client.bottom));
    ui::Selection onBuffer(canvas.get(), buffer.get());

    Fill(canvas.get(), client, Resolve(backColor_));
    DrawPicture(canvas.get(), background_.get(), 0, 0, ui::ScaledPictureLength(kBackgroundPixels.cx, dpi_),
                ui::ScaledPictureLength(kBackgroundPixels.cy, dpi_));

    Fill(canvas.get(), glyphRect_, GetSysColor(COLOR_WINDOW));
    if (shownSlot_ >= 0) {
        const int side = ui::ScaledPictureLength(kGlyphPixels, dpi_);
        const int width = std::min<int>(side, glyphRect_.right - glyphRect_.left);
        const int height = std::min<int>(side, glyphRect_.bottom - glyphRect_.top);
        DrawPicture(canvas.get(), glyphs_[shownSlot_].get(), glyphRect_.left, glyphRect_.top, width, height);
    }

    ui::Selection font(canvas.get(), CurrentFont());
    SetBkMode(canvas.get(), TRANSPARENT);
    SetTextColor(canvas.get(), CaptionColor());
    RECT caption = captionRect_;
    DrawTextW(canvas.get(), caption_.c_str(), static_cast<int>(caption_.size()), &caption, DT_NOPREFIX | DT_NOCLIP);
    if (GetFocus() == hwnd()) {
        RECT around = captionRect_;
        InflateRect(&around, 1, 0);
        DrawFocusRect(canvas.get(), &around);
    }

    BitBlt(paint.dc(), 0, 0, client.right, client.bottom, canvas.get(), 0, 0, SRCCOPY);
}

LRESULT CheckBox::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: Paint(); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SIZE: Resize(); return 0;
    case WM_ENABLE:
        ShowPic();
        Redraw(nullptr);
        return 0;
    case WM_TIMER:
        if (wParam != kTimer1) break;
        Timer1_Timer();
        return 0;
    case WM_LBUTTONDOWN: OnButtonDown(kLeft, wParam, PointOf(lParam)); return 0;
    case WM_RBUTTONDOWN: OnButtonDown(kRight, wParam, PointOf(lParam)); return 0;
    case WM_MBUTTONDOWN: OnButtonDown(kMiddle, wParam, PointOf(lParam)); return 0;
    case WM_LBUTTONUP: OnButtonUp(kLeft, wParam, PointOf(lParam)); return 0;
    case WM_RBUTTONUP: OnButtonUp(kRight, wParam, PointOf(lParam)); break;  // and on to WM_CONTEXTMENU
    case WM_MBUTTONUP: OnButtonUp(kMiddle, wParam, PointOf(lParam)); return 0;
    case WM_MOUSEMOVE: OnPointerMove(wParam, PointOf(lParam)); return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: Redraw(nullptr); return 0;
    case WM_GETDLGCODE: return DLGC_BUTTON;
    case BM_CLICK:
        if (Enabled()) OnClick();
        return 0;
    case BM_GETCHECK: return value_;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        short keyCode = static_cast<short>(wParam), shift = ShiftState();
        const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
        if (const auto& event = down ? KeyDown : KeyUp) event(keyCode, shift);
        if (message == WM_KEYDOWN || message == WM_KEYUP) return 0;
        break;  // Alt combinations still reach the window's menu and close box
    }
    case WM_CHAR: {
        short keyAscii = static_cast<short>(wParam);
        if (KeyPress) KeyPress(keyAscii);
        return 0;
    }
    default: break;
    }
    return Default(message, wParam, lParam);
}

}  // namespace quilvane::controls
