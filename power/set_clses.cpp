#include "set_clses.h"

#include <algorithm>
#include <string>

#include "power_actions.h"
#include "power_texts.h"
#include "resource_ids.h"
#include "utf16.h"

namespace quilvane::power {
namespace {

constexpr UINT_PTR kTimer1 = 1;
constexpr UINT kTimer1Interval = 1000;  // ms
constexpr int kNoticeSeconds = 5;

}  // namespace

SetClses::SetClses(shell::Skin& se, shell::Dialogs& dialogs, HWND mainWindow, PowerOperations& system,
                   MonotonicClock clock)
    : se_(se),
      dialogs_(dialogs),
      mainWindow_(mainWindow),
      system_(system),
      clock_(std::move(clock)),
      font_(std::make_shared<ui::FontSpec>()) {}

SetClses::~SetClses() { DestroyWhileHandlersLive(); }

bool SetClses::Create() {
    dpi_ = ui::ScreenDpi();
    // A fixed single border and no minimise or maximise button.
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    RECT outer{0, 0, ui::TwipsToPixels(kSchedulerClientWidth, dpi_), ui::TwipsToPixels(kSchedulerClientHeight, dpi_)};
    AdjustWindowRectEx(&outer, style, FALSE, 0);
    const RECT place = CentredOverMainWindow(outer.right - outer.left, outer.bottom - outer.top);
    CreateArgs args;
    args.className = L"QuilvaneSetClses";
    args.title = kSchedulerTitle;
    args.style = style;
    args.x = place.left;
    args.y = place.top;
    args.width = place.right - place.left;
    args.height = place.bottom - place.top;
    args.icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_PROGRAM));
    if (!Window::Create(args)) return false;
    CreateControls();
    Form_Load();
    return true;
}

RECT SetClses::CentredOverMainWindow(int width, int height) const {
    RECT workArea{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    RECT over = workArea;
    if (mainWindow_ && IsWindow(mainWindow_)) GetWindowRect(mainWindow_, &over);
    // Wider than the main window, it would leave the screen over a main window at its edge.
    const int left = std::clamp((over.left + over.right - width) / 2, workArea.left,
                                std::max(workArea.left, workArea.right - width));
    const int top = std::clamp((over.top + over.bottom - height) / 2, workArea.top,
                               std::max(workArea.top, workArea.bottom - height));
    return RECT{left, top, left + width, top + height};
}

void SetClses::Form_Load() {
    se_.ApplyTo(hwnd());
    FillActionList(*combo1_);
}

void SetClses::Form_Activate() {
    const bool counting = TaskPending();
    ShowWindow(Control(kLbl), counting ? SW_SHOW : SW_HIDE);
    ShowWindow(Control(kBt2), counting ? SW_SHOW : SW_HIDE);
}

void SetClses::Command1_Click() {
    // Only digits can be typed, but a paste brings anything; read as a number, an empty or
    // pasted text ("", "-5", "abc") would be no delay at all and the action would follow at once.
    if (!HoldsANumber(*text1_, kMinutesMissing, kMinutesInvalid) || !HoldsANumber(*text2_, kLeadMissing, kLeadInvalid))
        return;
    countdown_.Start(clock_(), text1_->Value(), text2_->Value());
    SetTimer(hwnd(), kTimer1, kTimer1Interval, nullptr);  // a pending task is simply replaced
    ShowRemaining();  // shown again before the first tick, the status line is already right
    StayLoadedIf(true);
    bt3_Click();
}

bool SetClses::HoldsANumber(controls::SpinBox& box, const char* missing, const char* invalid) {
    const std::wstring text = box.Text();
    if (!text.empty() && text.find_first_not_of(L"0123456789") == std::wstring::npos) return true;
    shell::ShowNoticeOver(dialogs_, hwnd(), text.empty() ? missing : invalid);
    // The caret goes back to the number, selected, to be typed over.
    SetFocus(box.TextBoxWindow());
    SendMessageW(box.TextBoxWindow(), EM_SETSEL, 0, -1);
    return false;
}

void SetClses::bt2_Click() {
    EndTask();
    LetGoUnlessNeeded();
}

void SetClses::bt3_Click() { ShowWindow(hwnd(), standsAlone_ ? SW_MINIMIZE : SW_HIDE); }

void SetClses::OutliveMainWindow() {
    mainWindow_ = nullptr;
    if (!hwnd() || !TaskPending()) return;
    standsAlone_ = true;
    ShowWindow(hwnd(), SW_SHOWNORMAL);
    Form_Activate();
    SetForegroundWindow(hwnd());
}

void SetClses::Timer1_Timer() {
    if (!hwnd() || !TaskPending()) return;
    const Countdown::Tick tick = countdown_.OnTick(clock_());
    ShowRemaining();
    if (tick.actNow) {
        PerformPowerAction(combo1_->ListIndex(), reinterpret_cast<Handle>(hwnd()), system_);
        EndTask();
    }
    if (tick.noticeSeconds) {
        const std::wstring message =
            kNoticeBefore + std::to_wstring(*tick.noticeSeconds) + kNoticeAfter + combo1_->Text();
        notice_.ShowCornerNotice(L"", message, L"", kNoticeSeconds);
    }
    // Only now, so a notice that follows the action is loaded before this window lets go.
    LetGoUnlessNeeded();
}

void SetClses::ShowRemaining() {
    const std::wstring remaining = kRemaining + Widen(FormatHms(countdown_.RemainingSeconds(clock_())));
    SetWindowTextW(Control(kLbl), remaining.c_str());
}

void SetClses::EndTask() {
    KillTimer(hwnd(), kTimer1);
    countdown_.Stop();
    SetWindowTextW(Control(kLbl), kNoTask);
    ShowWindow(Control(kBt2), SW_HIDE);
}

// Without its main window the scheduler has nothing left to offer once its task has ended.
void SetClses::LetGoUnlessNeeded() {
    if (standsAlone_ && !TaskPending())
        DestroyWindow(hwnd());
    else
        StayLoadedIf(IsWindowVisible(hwnd()) || TaskPending());
}

// A hidden window without a task would keep an invisible program running for ever.
void SetClses::StayLoadedIf(bool needed) {
    if (needed)
        loaded_.Load();
    else
        loaded_.Unload();
}

LRESULT SetClses::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) != BN_CLICKED) break;
        switch (LOWORD(wParam)) {
        case kCommand1: Command1_Click(); return 0;
        case kBt2: bt2_Click(); return 0;
        case kBt3: bt3_Click(); return 0;
        default: break;
        }
        break;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) Form_Activate();
        break;
    case WM_SHOWWINDOW: StayLoadedIf(wParam || TaskPending()); break;
    case WM_TIMER:
        if (wParam != kTimer1) break;
        Timer1_Timer();
        return 0;
    case WM_CLOSE:
        // The title bar's close unloads the window, and its task goes with it.
        DestroyWindow(hwnd());
        return 0;
    case WM_DESTROY:
        countdown_.Stop();
        loaded_.Unload();
        return 0;
    default: break;
    }
    return Default(message, wParam, lParam);
}

}  // namespace quilvane::power
