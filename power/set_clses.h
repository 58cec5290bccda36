#pragma once
// SetClses, the scheduler window "延时关机": the user picks one of eight power actions, a
// delay in minutes and a notice lead in seconds. After "确定" the window hides and counts
// down once a second in the background (also while the main window copies, since its copy
// loop lets messages run): at the lead the corner notice announces the action, at the target
// the action is performed. "关闭" only hides the window, so its task goes on; the title bar's
// close unloads it and its task with it. Once the main window has closed, a pending task
// stays on screen, where it can still be cancelled, and the window goes with its task.
//
// The window keeps the program running while it is shown or has a task, as a loaded form.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "corner_notice.h"
#include "countdown.h"
#include "dialogs.h"
#include "drop_down_list.h"
#include "form.h"
#include "form_lifetime.h"
#include "handles.h"
#include "monotonic_clock.h"
#include "power_operations.h"
#include "set_clses_design.h"
#include "skin.h"
#include "spin_box.h"

namespace quilvane::power {

// The eight power actions' names from the program's string table, in the list's order.
std::vector<std::wstring> PowerActionNames();
// Fills the scheduler's action list with them and selects the first.
void FillActionList(controls::DropDownList& list);

class SetClses : public ui::Form {
public:
    // `se` draws the window in the program's skin and `dialogs` shows its notices. The window
    // opens centred over `mainWindow` but does not belong to it, so its task outlives the main
    // window. `system` performs the actions; `clock` measures the countdown.
    SetClses(shell::Skin& se, shell::Dialogs& dialogs, HWND mainWindow, PowerOperations& system,
             MonotonicClock clock = SystemMonotonicClock());
    ~SetClses() override;

    // Creates the window hidden, with its controls, and runs the load handler. False when the
    // window could not be made.
    bool Create();

    // Event handlers, named after their control and event.
    void Form_Load();
    void Form_Activate();
    // 确定: starts (or restarts) the countdown and hides the window. A number box that holds
    // anything but digits (left empty, or pasted into) is named in a notice instead, and a task
    // under way goes on unchanged.
    void Command1_Click();
    void bt2_Click();     // 取消任务
    void bt3_Click();     // 关闭: hides the window; a task goes on
    void Timer1_Timer();  // once a second while a task is pending

    // The main window has closed: a pending task shows this window, "关闭" only minimises it,
    // and the window closes when its task is done or cancelled, so the program ends then.
    // Without a task the window simply stays as it is.
    void OutliveMainWindow();

    // Runs just before a power action is performed: what must not be cut off ends first.
    std::function<void()> BeforePowerAction;

    bool TaskPending() const { return countdown_.Running(); }
    bool KeepsProgramRunning() const { return loaded_.loaded(); }
    controls::SpinBox& Text1() { return *text1_; }
    controls::SpinBox& Text2() { return *text2_; }
    controls::DropDownList& Combo1() { return *combo1_; }
    Mitease& Notice() { return notice_; }

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    HWND CreateCustomControl(const ui::ControlDesign& design, HWND container, const RECT& place) override;
    std::unique_ptr<controls::SpinBox> CreateSpinBox(const ui::ControlDesign& design, const RECT& place);
    void ConnectEvents();
    bool HoldsANumber(controls::SpinBox& box, const char* missing, const char* invalid);
    void ShowRemaining();
    void EndTask();
    void StayLoadedIf(bool needed);
    void LetGoUnlessNeeded();

    shell::Skin& se_;
    shell::Dialogs& dialogs_;
    HWND mainWindow_;
    bool standsAlone_ = false;  // the main window has closed while a task was pending
    PowerOperations& system_;
    MonotonicClock clock_;
    std::unique_ptr<controls::SpinBox> text1_, text2_;
    std::unique_ptr<controls::DropDownList> combo1_;
    Countdown countdown_;
    Mitease notice_;
    ui::LoadedForm loaded_;
};

}  // namespace quilvane::power
