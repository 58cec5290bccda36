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
    : se_(se), dialogs_(dialogs), mainWindow_(mainWindow), system_(system), clock_(std::move(clock)) {}

SetClses::~SetClses() { DestroyWhileHandlersLive(); }

bool SetClses::Create() {
    // Centred over the main window, which does not own it: its task outlives the main window.
    if (!CreateForm(kSchedulerForm, nullptr, mainWindow_)) return false;
    CreateControls(kSchedulerDesign);
    const int tabOrder[] = {kText1, kCombo1, kText2, kBt2, kCommand1, kBt3};
    SetTabOrder(tabOrder);
    navigation().SetDefaultButton(Control(kCommand1));
    ConnectEvents();
    Form_Load();
    return true;
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
    BeforePowerAction = nullptr;
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
        if (BeforePowerAction) BeforePowerAction();
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
    return Form::OnMessage(message, wParam, lParam);
}

}  // namespace quilvane::power
