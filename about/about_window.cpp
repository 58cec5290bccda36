#include "about_window.h"

#include <algorithm>
#include <cmath>
#include <random>

#include "about_picture.h"

namespace quilvane::about {
namespace {

// Halves go to the even neighbour, as the platform's conversion to whole numbers does.
int NearestWhole(double value) { return static_cast<int>(std::nearbyint(value)); }

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

bool frmUseset::Create() {
    if (!CreateForm(kAboutForm, owner_, owner_)) return false;
    loaded_.Load();
    picture_ = AboutPictureFor(dpi());
    CreateControls(kAboutWindowDesign);
    if (!p1_.hwnd()) return false;
    const int tabOrder[] = {kBt1};
    SetTabOrder(tabOrder);
    navigation().SetDefaultButton(Control(kBt1));
    ConnectEvents();
    Form_Load();
    return true;
}

HWND frmUseset::CreateCustomControl(const ui::ControlDesign& design, HWND container, const RECT& place) {
    if (design.kind == ControlKind::Picture) p1_.Create(container, design.id, place, picture_.get());
    return design.kind == ControlKind::Picture ? p1_.hwnd() : nullptr;  // the click areas are parts of P1
}

void frmUseset::ConnectEvents() {
    p1_.MouseMove = [this](short& button, short& shift, float& x, float& y) { P1_MouseMove(button, shift, x, y); };
    p1_.MouseDown = [this](short& button, short& shift, float& x, float& y) { P1_MouseDown(button, shift, x, y); };
    p1_.AddLabel(ClickArea(kLabel1), [this] { Label1_Click(); });
    p1_.AddLabel(ClickArea(kLabel2), [this] { Label2_Click(); });
    Events(kBt1).Click = [this] { bt1_Click(); };
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
    case WM_DESTROY: Form_Unload(); return 0;
    default: return Form::OnMessage(message, wParam, lParam);
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
