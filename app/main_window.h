#pragma once
// MainF, the program's main window: it collects one task (mode, source or list of files,
// target folder, piece size and unit, four options) and runs it beside the window with the
// start button, which reads "停止" and stops it while it runs (Esc does the same). The values
// the task took stay disabled meanwhile; the other windows open and go on as usual. Closing the
// window during a task asks whether to stop it first.

#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "check_box.h"
#include "contact_strip.h"
#include "dialogs.h"
#include "drop_down_list.h"
#include "emlssea.h"
#include "form.h"
#include "form_lifetime.h"
#include "handles.h"
#include "main_window_layout.h"
#include "option_group.h"
#include "set_clses.h"
#include "settings.h"
#include "skin.h"
#include "task_thread.h"

namespace quilvane::about {
class frmUseset;
}

namespace quilvane::app {

class MainF : public ui::Form {
public:
    // `appDir` holds "Sysset.ini" and "help.chm" and ends in "\".
    MainF(shell::Dialogs& dialogs, std::string appDir);
    ~MainF() override;

    // Creates the window and its controls and runs the load handler; not shown yet.
    bool Create();
    // Puts a chosen or dropped source path into the window.
    void GetDates(const std::string& path);

    shell::Skin& se() { return se_; }
    controls::CheckBox& OptionBox(ControlId id);
    controls::DropDownList& FileList() { return *combo1_; }
    bool TaskRunning() const { return task_.Running(); }
    // Posted by the task's thread when the task has ended; its handler shows what happened.
    static constexpr UINT kTaskEndedMessage = TaskThread::kEndedMessage;
    void TaskEnded();

    // Event handlers, named after their control and event.
    void Form_Load();
    void Form_Unload();
    void opDelFale_Click();
    void GetFile_Click();
    void cmdFile_Click();
    void cmdOpsee_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void tQueries_Click();
    void Label1_Click();
    void Dels_Click();
    void Clse_Click();
    void ChkSets_Click();
    void chkAdd_Click();
    void Autosets_Click();
    void AutoQto_Click();
    void Combo1_MouseDown(short& button, short& shift, float& x, float& y);
    void Text2_KeyPress(short& keyAscii);
    void Text2_Change();
    void Text2_Paste();
    void FilesDropped(HDROP drop);

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    HWND CreateCustomControl(const ui::ControlDesign& design, HWND container, const RECT& place) override;
    void CreateOptionBox(controls::CheckBox& box, const ui::ControlDesign& design, HWND container, const RECT& place);
    void ArrangeControls();
    void ConnectEvents();
    void ApplyStackingOrder();
    void ShowFileList(bool flag);
    bool Selected(ControlId option) const;
    // A click on an option selects it within its group; the mode's handler runs on a change.
    void OptionClicked(ControlId option);
    void UpdateTabOrder();
    void EnableSizeFields(bool enable);
    TaskInputs ReadTaskInputs() const;
    void StartTaskBeside();
    void StopTask();
    void ShowTaskRunning(bool running);
    void ShowTaskResult(const TaskResult& result, float lastProgress);
    void SetProgress(float percent);
    bool AskToStopTask();
    // Shows one of the other windows over this one until it closes; a close of this window
    // that comes meanwhile waits for it.
    void ShowOwned(HWND window);

    shell::Dialogs& dialogs_;
    std::string appDir_;
    shell::Settings settings_;
    shell::Skin se_;
    ui::GdiObject<HBITMAP> contactPicture_;
    controls::CheckBox chkSets_, chkAdd_, autosets_, autoQto_;
    std::unique_ptr<controls::DropDownList> combo1_;
    ContactStrip picture1_;
    ui::OwnedMenu listMenu_;
    ui::OptionGroup modes_, units_;
    std::unique_ptr<power::SetClses> setClses_;  // made on the first "关机", kept while hidden
    std::unique_ptr<mail::Emlssea> emlssea_;
    ui::LoadedForm loaded_;
    std::unique_ptr<about::frmUseset> frmUseset_;  // while the About window is open
    int ownedOpen_ = 0;                            // other windows shown over this one
    bool closeWhenOwnedCloses_ = false;
    ui::Subclass startButtonDoubleClicks_;  // a double click on 开始 counts as one click
    HWND focusBeforeTask_ = nullptr;
    bool closeAfterTask_ = false;  // 是 to the question on closing: the window goes once the task has stopped
    TaskThread task_;              // last, so a task under way stops before anything else goes
};

}  // namespace quilvane::app
