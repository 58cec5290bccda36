#include "about_window.h"

#include <algorithm>
#include <cmath>
#include <random>

#include "about_picture.h"
#include "font.h"
#include "twips.h"

namespace quilvane::about {
namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;  // fixed border, no min/max
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;

// Halves go to the even neighbour, as the platform's conversion to whole numbers does.
int NearestWhole(double value) { return static_cast<int>(std::nearbyint(value)); }

// Centred over the owner, kept inside the work area of the owner's screen.
POINT CentredOver(HWND owner, SIZE size) {
    RECT over{};
    if (!owner || !GetWindowRect(owner, &over)) SystemParametersInfoW(SPI_GETWORKAREA, 0, &over, 0);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromRect(&over, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    const LONG x = (over.left + over.right - size.cx) / 2, y = (over.top + over.bottom - size.cy) / 2;
    return POINT{std::clamp(x, work.left, std::max(work.left, work.right - size.cx)),
                 std::clamp(y, work.top, std::max(work.top, work.bottom - size.cy))};
}

}  // namespace

frmUseset::Uniform frmUseset::SystemUniform() {
    return [engine = std::mt19937(std::random_device{}())]() mutable {
        return std::uniform_real_distribution<double>(0.0, 1.0)(engine);
    };
}

frmUseset::frmUseset(shell::Skin& se, shell::Dialogs& dialogs, HWND owner, Uniform uniform)
    : se_(se), dialogs_(dialogs), owner_(owner), uniform_(std::move(uniform)) {}

frmUseset::~frmUseset() {
    DestroyWhileHandlersLive();  // so the unload handler runs in full
}

RECT frmUseset::Place(AboutControlId id) const { return AboutDesignOf(id).place.ToPixels(dpi_); }

RECT frmUseset::ClickArea(AboutControlId label) const { return Place(label); }

HWND frmUseset::Control(AboutControlId id) const {
    switch (id) {
    case kAboutWindow: return hwnd();
    case kP1: return p1_.hwnd();
    case kBt1: return bt1_;
    default: return nullptr;  // the click areas are parts of P1, not windows
    }
}

bool frmUseset::Create() {
    dpi_ = ui::ScreenDpi();
    picture_ = AboutPictureFor(dpi_);
    const RECT client = Place(kP1);
    RECT outer = client;
    AdjustWindowRectEx(&outer, kStyle, FALSE, kExStyle);
    const SIZE size{outer.right - outer.left, outer.bottom - outer.top};
    const POINT at = CentredOver(owner_, size);
    CreateArgs args;
    args.className = L"QuilvaneFrmUseset";
    args.title = kAboutTitle;
    args.style = kStyle;
    args.exStyle = kExStyle;
    args.x = at.x;
    args.y = at.y;
    args.width = size.cx;
    args.height = size.cy;
    args.parent = owner_;
    if (!Window::Create(args)) return false;
    loaded_.Load();

    if (!p1_.Create(hwnd(), kP1, client, picture_.get())) return false;
    p1_.MouseMove = [this](short& button, short& shift, float& x, float& y) { P1_MouseMove(button, shift, x, y); };
    p1_.MouseDown = [this](short& button, short& shift, float& x, float& y) { P1_MouseDown(button, shift, x, y); };
    p1_.AddLabel(Place(kLabel1), [this] { Label1_Click(); });
    p1_.AddLabel(Place(kLabel2), [this] { Label2_Click(); });
    const RECT button = Place(kBt1);
    bt1_ = CreateWindowExW(0, L"BUTTON", AboutDesignOf(kBt1).caption,
                           WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, button.left, button.top,
                           button.right - button.left, button.bottom - button.top, p1_.hwnd(),
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(kBt1)), GetModuleHandleW(nullptr), nullptr);
    font_ = ui::MakeFont(ui::FontSpec{}, dpi_);
    SendMessageW(bt1_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);

    navigation_.Attach(hwnd());
    navigation_.SetTabOrder({bt1_});
    navigation_.SetDefaultButton(bt1_);
    Form_Load();
    return true;
}

void frmUseset::Form_Load() {
    se_.ApplyTo(hwnd());
    // When the water cannot start, the picture simply stays still.
    ripple_.RippleStart(p1_.hwnd(), picture_.get(), kRippleTickPeriod);
}

void frmUseset::Form_Unload() {
    ripple_.RippleStop();
    se_.Release(hwnd());
    loaded_.Unload();
}

LRESULT frmUseset::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == kBt1 && HIWORD(wParam) == BN_CLICKED) bt1_Click();
        return 0;
    case WM_DESTROY: Form_Unload(); return 0;
    default: return Default(message, wParam, lParam);
    }
}

void frmUseset::P1_MouseMove(short&, short&, float& x, float& y) {
    ripple_.RippleAddDrop(NearestWhole(x), NearestWhole(y), kPointerDropSize, kPointerDropStrength);
}

void frmUseset::P1_MouseDown(short& button, short&, float&, float&) {
    if (button != 2) return;
    // The product is rounded to a double first, as on every platform: the 32-bit x87 unit
    // would otherwise keep extra bits and could take an exact half upwards.
    volatile double scaled = uniform_() * 3;
    const int r = std::clamp(NearestWhole(scaled), 0, 3);
    const AutoModeChoice& choice = kRightClickModes[r];
    ripple_.RippleSetAutoMode(choice.mode, choice.count, choice.sizeLimit, choice.strengthLimit);
}

void frmUseset::Label1_Click() { dialogs_.OpenWithShell(kWebAddress, "", SW_SHOWNORMAL); }

void frmUseset::Label2_Click() { dialogs_.OpenWithShell(std::string("mailto:") + kMailAddress, "", SW_SHOWNORMAL); }

void frmUseset::bt1_Click() { DestroyWindow(hwnd()); }

}  // namespace quilvane::about
