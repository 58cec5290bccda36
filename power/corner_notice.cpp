#include "corner_notice.h"

#include <algorithm>
#include <utility>

#include "font.h"
#include "power_texts.h"
#include "twips.h"

namespace quilvane::power {
namespace {

constexpr wchar_t kClassName[] = L"QuilvaneMitease";
constexpr UINT_PTR kTimer1 = 1;
constexpr COLORREF kStripColour = RGB(84, 165, 213);
constexpr COLORREF kBodyColour = RGB(236, 233, 216);
constexpr COLORREF kTitleText = RGB(255, 255, 255);

// The design, in twips of the notice's client area.
constexpr ui::TwipsRect kStripPlace{0, 0, kNoticeWidthTwips, 285};
// The title runs on to the close glyph: the whole of it does not fit 1800 twips in the bold font.
constexpr ui::TwipsRect kTitlePlace{690, 30, 2460, 180};
constexpr ui::TwipsRect kGlyphPlace{3180, 30, 225, 225};
constexpr ui::TwipsRect kLinePlaces[] = {{210, 330, 3000, 180}, {210, 540, 3000, 180}, {210, 750, 3000, 180}};

// The platform's display time is counted in 16-bit milliseconds: 32 seconds at most.
constexpr int kShortestSeconds = 1;
constexpr int kLongestSeconds = 32;

HWND CreateLabel(HWND parent, const wchar_t* text, const RECT& place, HFONT font) {
    // One line each: a text too long is cut at the edge rather than wrapped out of sight.
    const HWND label = CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX,
                                       place.left, place.top, place.right - place.left, place.bottom - place.top,
                                       parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return label;
}

}  // namespace

Mitease::Mitease(ScreenReader screen)
    : screen_(std::move(screen)),
      stripBrush_(CreateSolidBrush(kStripColour)),
      bodyBrush_(CreateSolidBrush(kBodyColour)) {}

Mitease::~Mitease() { DestroyWhileHandlersLive(); }

ScreenArea Mitease::SystemScreen() {
    RECT workArea{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    return ScreenArea{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), static_cast<int>(workArea.bottom),
                      ui::ScreenDpi()};
}

bool Mitease::CreateNotice() {
    dpi_ = ui::ScreenDpi();
    CreateArgs args;
    args.className = kClassName;
    args.title = kNoticeTitle;
    args.style = WS_POPUP | WS_CLIPCHILDREN;
    // No taskbar button, and no activation: the user's window keeps the focus.
    args.exStyle = WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
    args.classStyle = 0;
    args.background = nullptr;
    args.x = args.y = 0;
    args.width = ui::TwipsToPixels(kNoticeWidthTwips, dpi_);
    args.height = ui::TwipsToPixels(kNoticeHeightTwips, dpi_);
    if (!Window::Create(args)) return false;

    ui::FontSpec font;
    lineFont_ = ui::MakeFont(font, dpi_);
    font.bold = true;
    titleFont_ = ui::MakeFont(font, dpi_);
    stripRect_ = kStripPlace.ToPixels(dpi_);
    glyphRect_ = kGlyphPlace.ToPixels(dpi_);
    title_ = CreateLabel(hwnd(), kNoticeTitle, kTitlePlace.ToPixels(dpi_), titleFont_.get());
    for (std::size_t i = 0; i < lines_.size(); ++i)
        lines_[i] = CreateLabel(hwnd(), L"", kLinePlaces[i].ToPixels(dpi_), lineFont_.get());
    loaded_.Load();
    return true;
}

void Mitease::ShowCornerNotice(const std::wstring& line1, const std::wstring& line2, const std::wstring& line3,
                               int seconds) {
    if (!hwnd() && !CreateNotice()) return;
    const PixelPoint at = NoticeTopLeft(screen_());
    SetWindowPos(hwnd(), nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowTextW(lines_[0], line1.c_str());
    SetWindowTextW(lines_[1], line2.c_str());
    SetWindowTextW(lines_[2], line3.c_str());
    displayMs_ = std::clamp(seconds, kShortestSeconds, kLongestSeconds) * 1000;
    SetTimer(hwnd(), kTimer1, static_cast<UINT>(displayMs_), nullptr);  // the same timer starts again
    ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
    // On top of the other windows, but not in the topmost band, and still not active.
    SetWindowPos(hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

void Mitease::P_Click() { Timer1_Timer(); }

void Mitease::Timer1_Timer() { Unload(); }

void Mitease::Unload() {
    if (hwnd()) DestroyWindow(hwnd());
}

std::wstring Mitease::Line(int index) const {
    if (!hwnd()) return {};
    wchar_t text[256] = {};
    GetWindowTextW(lines_.at(static_cast<std::size_t>(index)), text, 256);
    return text;
}

void Mitease::Paint() {
    ui::PaintScope paint(hwnd());
    RECT client{};
    GetClientRect(hwnd(), &client);
    FillRect(paint.dc(), &client, bodyBrush_.get());
    FillRect(paint.dc(), &stripRect_, stripBrush_.get());
    FrameRect(paint.dc(), &client, stripBrush_.get());
    // The close glyph: a white cross, its strokes as thick as the screen's scale asks.
    const int inset = ui::TwipsToPixels(60, dpi_);
    ui::GdiObject<HPEN> pen(CreatePen(PS_SOLID, std::max(1, ui::TwipsToPixels(30, dpi_)), kTitleText));
    ui::Selection selected(paint.dc(), pen.get());
    const RECT& g = glyphRect_;
    MoveToEx(paint.dc(), g.left + inset, g.top + inset, nullptr);
    LineTo(paint.dc(), g.right - inset, g.bottom - inset);
    MoveToEx(paint.dc(), g.right - inset, g.top + inset, nullptr);
    LineTo(paint.dc(), g.left + inset, g.bottom - inset);
}

LRESULT Mitease::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    switch (message) {
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: Paint(); return 0;
    case WM_CTLCOLORSTATIC: {
        const HDC dc = reinterpret_cast<HDC>(wParam);
        const bool title = reinterpret_cast<HWND>(lParam) == title_;
        SetBkColor(dc, title ? kStripColour : kBodyColour);
        SetTextColor(dc, title ? kTitleText : GetSysColor(COLOR_WINDOWTEXT));
        return reinterpret_cast<LRESULT>(title ? stripBrush_.get() : bodyBrush_.get());
    }
    case WM_LBUTTONDOWN: glyphPressed_ = PtInRect(&glyphRect_, at) != FALSE; return 0;
    case WM_LBUTTONUP:
        if (std::exchange(glyphPressed_, false) && PtInRect(&glyphRect_, at)) P_Click();
        return 0;
    case WM_TIMER:
        if (wParam == kTimer1) Timer1_Timer();
        return 0;
    case WM_DESTROY: loaded_.Unload(); return 0;
    default: return Default(message, wParam, lParam);
    }
}

}  // namespace quilvane::power
