#include "form.h"

#include <commctrl.h>

#include <algorithm>

#include "utf16.h"

namespace quilvane::ui {
namespace {

// Centred over `over` (or the work area), kept inside the work area of that screen.
POINT CentredOver(HWND over, SIZE size) {
    RECT area{};
    if (!over || !IsWindow(over) || !GetWindowRect(over, &area)) SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromRect(&area, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    const LONG x = (area.left + area.right - size.cx) / 2, y = (area.top + area.bottom - size.cy) / 2;
    return POINT{std::clamp(x, work.left, std::max(work.left, work.right - size.cx)),
                 std::clamp(y, work.top, std::max(work.top, work.bottom - size.cy))};
}

bool IsTextBox(ControlKind kind) {
    return kind == ControlKind::Edit || kind == ControlKind::ReadOnlyEdit || kind == ControlKind::PasswordEdit ||
           kind == ControlKind::MultilineEdit;
}

bool IsButton(ControlKind kind) {
    return kind == ControlKind::Button || kind == ControlKind::DefaultButton || kind == ControlKind::Option;
}

}  // namespace

bool Form::CreateForm(const FormDesign& design, HWND owner, HWND centreOver) {
    dpi_ = ScreenDpi();
    hfont_ = MakeFont(*font_, dpi_);
    RECT outer{0, 0, Pixels(design.clientWidth), Pixels(design.clientHeight)};
    AdjustWindowRectEx(&outer, design.style, FALSE, design.exStyle);
    CreateArgs window;
    window.className = design.className;
    window.title = design.title;
    window.style = design.style;
    window.exStyle = design.exStyle;
    window.width = outer.right - outer.left;
    window.height = design.outerHeight ? Pixels(design.outerHeight) : outer.bottom - outer.top;
    window.parent = owner;
    if (design.icon) window.icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(design.icon));
    if (design.centred) {
        const POINT at = CentredOver(centreOver, SIZE{window.width, window.height});
        window.x = at.x;
        window.y = at.y;
    }
    if (!Window::Create(window)) return false;
    navigation_.Attach(hwnd());
    return true;
}

void Form::CreateControls(std::span<const ControlDesign> design) {
    for (const ControlDesign& control : design) {
        const HWND container = Control(control.container);
        const RECT place = control.place.ToPixels(dpi_);
        HWND made = nullptr;
        if (control.kind == ControlKind::Frame || control.kind == ControlKind::BorderedFrame) {
            auto& frame = frames_.emplace_back(std::make_unique<Frame>());
            frame->Create(container, control.id, place, control.kind == ControlKind::BorderedFrame);
            made = frame->hwnd();
        } else if (control.kind >= ControlKind::CheckBox) {
            made = CreateCustomControl(control, container, place);
        } else {
            made = CreateStandardControl(control, container, place);
        }
        controls_[control.id] = Made{made, &control};
    }
}

HWND Form::CreateCustomControl(const ControlDesign&, HWND, const RECT&) { return nullptr; }

HWND Form::Control(int id) const {
    if (id == kFormItself) return hwnd();
    const auto found = controls_.find(id);
    return found == controls_.end() ? nullptr : found->second.hwnd;
}

RECT Form::PlaceOf(int id) const {
    const auto found = controls_.find(id);
    return found == controls_.end() ? RECT{} : found->second.design->place.ToPixels(dpi_);
}

std::string Form::TextOf(int id) const {
    const HWND control = Control(id);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return Narrow(text);
}

void Form::SetTextOf(int id, const std::string& text) { SetWindowTextW(Control(id), Widen(text).c_str()); }

RECT Form::FittingCaption(RECT place, int captionLeft, const wchar_t* caption) const {
    const LONG needed = place.left + captionLeft + TextExtent(hfont_.get(), caption).cx;
    place.right = std::max(place.right, needed);
    return place;
}

void Form::AcceptDropsOn(std::span<const int> ids) {
    DragAcceptFiles(hwnd(), TRUE);
    for (int id : ids) DragAcceptFiles(Control(id), TRUE);
}

void Form::SetTabOrder(std::span<const int> ids) {
    std::vector<HWND> order;
    for (int id : ids) order.push_back(Control(id));
    navigation_.SetTabOrder(std::move(order));
}

LRESULT Form::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: Reflect(LOWORD(wParam), HIWORD(wParam), lParam == 0); return 0;
    case WM_DROPFILES: TakeDrop(wParam); return 0;
    default: return Default(message, wParam, lParam);
    }
}

// The drop is finished here, whoever handles it.
void Form::TakeDrop(WPARAM wParam) {
    const DroppedFiles drop(reinterpret_cast<HDROP>(wParam));
    if (OnFilesDropped) OnFilesDropped(drop.get());
}

// A notification goes to the event of the control that sent it.
void Form::Reflect(int id, int code, bool fromMenu) {
    const auto events = events_.find(id);
    if (events == events_.end()) return;
    const ControlEvents& on = events->second;
    const auto made = controls_.find(id);
    const ControlKind kind = made == controls_.end() ? ControlKind::Button : made->second.design->kind;
    std::function<void()> handler;
    if ((fromMenu || IsButton(kind)) && code == BN_CLICKED) handler = on.Click;
    if (IsTextBox(kind) && code == EN_CHANGE) handler = on.Change;
    if (kind == ControlKind::ListBox && code == LBN_DBLCLK) handler = on.DblClick;
    if (handler) handler();
}

}  // namespace quilvane::ui
