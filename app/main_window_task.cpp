// The start button's task beside the window: starting and stopping it, what the window shows
// while it runs, what it tells when it has ended, and closing the window around it.

#include <windows.h>
#include <commctrl.h>

#include "main_window.h"
#include "message_loop.h"
#include "utf16.h"

namespace quilvane::app {
namespace {

constexpr const char* kStartCaption = "开始";
constexpr const char* kStopCaption = "停止";
constexpr const char* kStopToClose = "任务还没有完成，要停止任务并退出吗？";
constexpr int kQuestionStyle = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2;  // 否 unless the user picks 是

// The values a task takes when it starts; they cannot change under it.
constexpr ControlId kTaskInputs[] = {kOpDelFale, kGetFile, kTxtPsd, kCmdFile, kText1,
                                     kCmdOpsee,  kText2,   kOkbs,   kOption3};

}  // namespace

void MainF::Command2_Click() {
    if (!task_.Running()) return StartTaskBeside();
    StopTask();
}

void MainF::StartTaskBeside() {
    TaskInputs inputs = ReadTaskInputs();
    ShowTaskRunning(true);
    task_.Start(hwnd(), std::move(inputs), chkSets_.Value() != 0);
}

// The copy stops at once, but removing what it wrote takes the file system a while when it is
// many gigabytes; 停止 stays grayed until then, so the click is seen to have been taken.
void MainF::StopTask() {
    task_.RequestStop();
    EnableWindow(Control(kCommand2), FALSE);
}

void MainF::ShowTaskRunning(bool running) {
    // A control that is disabled loses the focus; it gets it back when the task has ended.
    if (running) focusBeforeTask_ = GetFocus();
    SetTextOf(kCommand2, running ? kStopCaption : kStartCaption);
    EnableWindow(Control(kCommand2), TRUE);
    navigation().SetCancelButton(running ? Control(kCommand2) : nullptr);
    for (ControlId id : kTaskInputs) EnableWindow(Control(id), !running);
    if (!running && Selected(kGetFile)) EnableSizeFields(false);
    combo1_->SetEnabled(!running);
    chkAdd_.SetEnabled(!running);
    if (!running && !GetFocus() && focusBeforeTask_ && IsWindowEnabled(focusBeforeTask_)) SetFocus(focusBeforeTask_);
}

void MainF::TaskEnded() {
    if (!task_.Running()) return;
    const float lastProgress = task_.TakeProgress();
    const TaskResult result = task_.TakeResult();
    // The window is ready again before anything is told, so nothing can leave it stuck.
    ShowTaskRunning(false);
    if (closeAfterTask_) return Command3_Click();
    ShowTaskResult(result, lastProgress);
    if (result.outcome == TaskOutcome::Done && autoQto_.Value() != 0) Command3_Click();
}

// Notices in their order; a failed or stopped task empties the bar before its last notice, a
// finished one after it.
void MainF::ShowTaskResult(const TaskResult& result, float lastProgress) {
    SetProgress(lastProgress);
    const bool done = result.outcome == TaskOutcome::Done;
    for (std::size_t i = 0; i < result.notices.size(); ++i) {
        const bool last = i + 1 == result.notices.size();
        if (last && !done) SetProgress(0);
        dialogs_.ShowNotice(result.notices[i].text, shell::kNoticeStyle);
    }
    SetProgress(0);
}

void MainF::SetProgress(float percent) { SendMessageW(Control(kP1), PBM_SETPOS, static_cast<WPARAM>(percent), 0); }

void MainF::Command3_Click() {
    if (ownedOpen_ > 0) {
        closeWhenOwnedCloses_ = true;
        return;
    }
    if (task_.Running() && !closeAfterTask_) {
        if (!AskToStopTask()) return;
        // The task may have ended while the question was open; then there is nothing to wait for.
        if (task_.Running()) {
            closeAfterTask_ = true;
            StopTask();
            return;
        }
    }
    if (!task_.Running()) DestroyWindow(hwnd());
}

bool MainF::AskToStopTask() { return dialogs_.ShowNotice(kStopToClose, kQuestionStyle) == IDYES; }

void MainF::ShowOwned(HWND window) {
    ++ownedOpen_;
    ui::ShowModal(window, hwnd());
    --ownedOpen_;
    if (ownedOpen_ == 0 && closeWhenOwnedCloses_) {
        closeWhenOwnedCloses_ = false;
        Command3_Click();
    }
}

TaskInputs MainF::ReadTaskInputs() const {
    TaskInputs inputs;
    // Each group has exactly one option selected: the mode is merge only when merge is chosen.
    inputs.splitMode = modes_.Selected() != Control(kGetFile);
    inputs.sourcePath = TextOf(kTxtPsd);
    inputs.targetFolder = TextOf(kText1);
    inputs.sizeText = TextOf(kText2);
    inputs.unit = units_.Selected() == Control(kOption3) ? SizeUnit::Megabytes : SizeUnit::Kilobytes;
    inputs.listMode = chkAdd_.Value() != 0;
    for (int i = 0; i < combo1_->ListCount(); ++i) inputs.listEntries.push_back(Narrow(combo1_->List(i)));
    inputs.selectedEntry = combo1_->ListIndex();
    return inputs;
}

}  // namespace quilvane::app
