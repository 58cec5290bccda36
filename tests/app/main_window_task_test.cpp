// The start button's task beside the window: its results, a stop by the button, Esc, the close
// box or the session's end, a double click that must not stop what it started, and an
// unexpected failure.

#include <filesystem>
#include <new>
#include <utility>

#include "main_window_fixture.h"

namespace quilvane::app {
namespace {

using namespace quilvane::testing;

TEST_F(MainWindow, StartButtonSplitsAndMergesForReal) {
    Open("[main]\r\nSetBat=1\r\n");
    const std::string bytes = PatternBytes(2500);
    WriteFile(work / "movie.avi", bytes);
    const std::string pieces = work.Subfolder("pieces"), back = work.Subfolder("back");
    window->GetDates(work / "movie.avi");
    SetText(kText1, pieces);
    SetText(kText2, "1");
    RunTask();
    ASSERT_EQ(dialogs.notices, std::vector<std::string>{"文件分割完毕!"});
    EXPECT_EQ(NamesIn(pieces),
              (std::vector<std::string>{"001.pe", "002.pe", "003.pe", "movie.bat", "movie.hpe", "movie.sha256"}));
    EXPECT_EQ(SendMessageW(Control(kP1), PBM_GETPOS, 0, 0), 0);

    Click(kGetFile);
    window->GetDates(pieces + "movie.hpe");
    SetText(kText1, back);
    RunTask();
    EXPECT_EQ(dialogs.notices.back(), "文件合并完毕!");
    EXPECT_TRUE(SameBytes(ReadFile(back + "movie.avi"), bytes));
}

TEST_F(MainWindow, ChecksComeFromTheEngineInTheirOrder) {
    Open();
    RunTask();
    Click(kGetFile);
    RunTask();
    EXPECT_EQ(dialogs.notices, (std::vector<std::string>{"请指定待分割文件!", "请指定待合并文件!"}));
}

TEST_F(MainWindow, EscStopsATaskWhoseValuesStayLockedUntilThen) {
    Open();
    PrepareHugeSplit();
    WriteFile(work / "001.pe", "an old piece");
    WriteFile(work / "huge.hpe", "an old descriptor");
    Click(kCommand2);
    EXPECT_EQ(Text(kCommand2), "停止");
    for (ControlId locked : {kOpDelFale, kGetFile, kCmdFile, kText1, kText2, kOkbs, kOption3})
        EXPECT_FALSE(IsWindowEnabled(Control(locked))) << locked;
    EXPECT_FALSE(window->OptionBox(kChkAdd).Enabled());
    EXPECT_TRUE(IsWindowEnabled(Control(kCommand4))) << "the mail window can open during a task";
    EXPECT_TRUE(window->OptionBox(kChkSets).Enabled()) << "the batch file is decided after the copy";

    SetFocus(Control(kCommand3));
    MSG esc{Control(kCommand3), WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
    ui::DispatchWithNavigation(esc);
    EXPECT_FALSE(IsWindowEnabled(Control(kCommand2))) << "停止 is grayed while the stop removes what was written";
    WaitForTaskEnd();
    EXPECT_EQ(dialogs.notices, std::vector<std::string>{"任务被中断：未完成的临时文件已删除，原有的文件没有改动"});
    EXPECT_EQ(NamesIn(work.Path()), (std::vector<std::string>{"001.pe", "huge.bin", "huge.hpe"}));
    EXPECT_EQ(ReadFile(work / "001.pe"), "an old piece");
    EXPECT_EQ(ReadFile(work / "huge.hpe"), "an old descriptor");
    EXPECT_EQ(Text(kCommand2), "开始");
    EXPECT_TRUE(IsWindowEnabled(Control(kCommand2)));
    EXPECT_TRUE(IsWindowEnabled(Control(kText2)));
    EXPECT_TRUE(window->OptionBox(kChkAdd).Enabled());
}

TEST_F(MainWindow, ADoubleClickOnStartStartsATaskThatGoesOn) {
    Open();
    PrepareHugeSplit();
    for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
        SendMessageW(Control(kCommand2), message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(5, 5));
    const auto copied = [&] {
        for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::u8path(work.Path())))
            if (entry.path().filename().string().find(".quilvane-") != std::string::npos &&
                entry.file_size() > 16 << 20)
                return true;
        return false;
    };
    EXPECT_TRUE(RunMessagesUntil(copied)) << "the second click of the double click stopped the task";
    Click(kCommand2);
    WaitForTaskEnd();
    EXPECT_EQ(NamesIn(work.Path()), std::vector<std::string>{"huge.bin"});
}

TEST_F(MainWindow, ClosingDuringATaskAsksAndYesStopsItThenCloses) {
    const HWND handle = OpenWithHugeSplitRunning();
    dialogs.answer = IDNO;
    SendMessageW(handle, WM_CLOSE, 0, 0);
    EXPECT_EQ(dialogs.questions, std::vector<std::string>{"任务还没有完成，要停止任务并退出吗？"});
    EXPECT_TRUE(window->TaskRunning()) << "否 lets the task go on";

    dialogs.answer = IDYES;
    SendMessageW(handle, WM_CLOSE, 0, 0);
    WaitForTaskEnd();
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_TRUE(dialogs.notices.empty());
    EXPECT_EQ(NamesIn(work.Path()), std::vector<std::string>{"huge.bin"});
}

TEST_F(MainWindow, YesClosesAlsoWhenTheTaskEndedWhileTheQuestionWasOpen) {
    const HWND handle = OpenWithHugeSplitRunning();
    bool ended = false;
    dialogs.duringNotice = [&] {
        if (std::exchange(ended, true)) return;
        Click(kCommand2);
        WaitForTaskEnd();
    };
    dialogs.answer = IDYES;
    SendMessageW(handle, WM_CLOSE, 0, 0);
    EXPECT_EQ(dialogs.notices, std::vector<std::string>{"任务被中断：未完成的临时文件已删除，原有的文件没有改动"});
    EXPECT_FALSE(IsWindow(handle)) << "是 was the answer: the window closes";
}

TEST_F(MainWindow, SessionEndStopsATaskAndItsTemporaryFilesGoFirst) {
    OpenWithHugeSplitRunning();
    SendMessageW(window->hwnd(), WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(NamesIn(work.Path()), std::vector<std::string>{"huge.bin"});
}

TEST_F(MainWindow, TaskEndedByAnUnexpectedFailureLeavesTheWindowUsable) {
    Open();
    PrepareTwoPieceSplit();
    dialogs.duringNotice = [] { throw std::bad_alloc(); };
    Click(kCommand2);
    EXPECT_THROW(WaitForTaskEnd(), std::bad_alloc);
    EXPECT_FALSE(window->TaskRunning());
    EXPECT_EQ(Text(kCommand2), "开始");
    dialogs.duringNotice = nullptr;
    const HWND handle = window->hwnd();
    SendMessageW(handle, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(handle)) << "the window closes at once";
}

TEST_F(MainWindow, ClosesAfterSuccessWhenAsked) {
    Open("[main]\r\nQutoEt=1\r\n");
    PrepareTwoPieceSplit();
    const HWND handle = window->hwnd();
    RunTask();
    EXPECT_FALSE(IsWindow(handle));
}

}  // namespace
}  // namespace quilvane::app
