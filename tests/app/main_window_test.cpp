#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <chrono>
#include <cstring>
#include <new>

#include <gtest/gtest.h>

#include "main_window.h"
#include "message_loop.h"
#include "test_support.h"
#include "utf16.h"

namespace quilvane::app {
namespace {

using namespace quilvane::testing;

// Stands in for the modal dialogs: answers are scripted, notices recorded.
class ScriptedDialogs : public shell::Dialogs {
public:
    std::string nextFile, nextFolder;
    std::vector<std::string> notices;
    std::vector<std::string> opened;
    std::function<void()> duringNotice;
    std::vector<std::string> questions;
    int answer = IDNO;

    std::string PickFile(const std::string& filter, const std::string& title, bool allowMany) override {
        lastFilter = filter;
        lastTitle = title;
        lastAllowMany = allowMany;
        return nextFile;
    }
    std::string PickFolder(const std::string& title, HWND) override {
        lastTitle = title;
        return nextFolder;
    }
    void OpenWithShell(const std::string& file, const std::string& parameters, int show) override {
        opened.push_back(file + "|" + parameters + "|" + std::to_string(show));
    }
    int ShowNotice(const std::string& text, int style) override {
        if ((style & MB_YESNO) == MB_YESNO) {
            questions.push_back(text);
            return answer;
        }
        EXPECT_EQ(style, 64);
        notices.push_back(text);
        if (duringNotice) duringNotice();
        return IDOK;
    }
    std::string lastFilter, lastTitle;
    bool lastAllowMany = false;
};

// An HDROP as the shell hands it over, holding wide paths.
HDROP MakeDrop(const std::vector<std::string>& paths) {
    std::wstring list;
    for (const std::string& path : paths) list += Widen(path) + L'\0';
    list += L'\0';
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), list.data(), list.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

struct MainWindow : ::testing::Test {
    TempFolder app;
    TempFolder work;
    ScriptedDialogs dialogs;
    std::unique_ptr<MainF> window;

    void Open(const std::string& settings = "") {
        if (!settings.empty()) WriteFile(app / "Sysset.ini", settings);
        window = std::make_unique<MainF>(dialogs, app.Path());
        ASSERT_TRUE(window->Create());
    }
    HWND Control(ControlId id) { return window->Control(id); }
    std::string Text(ControlId id) {
        wchar_t text[1024] = {};
        GetWindowTextW(Control(id), text, 1024);
        return Narrow(text);
    }
    void SetText(ControlId id, const std::string& text) { SetWindowTextW(Control(id), Widen(text).c_str()); }
    // A 2 KiB source in the work folder, to be cut into 1 KB pieces there.
    void PrepareTwoPieceSplit() {
        WriteFile(work / "a.bin", PatternBytes(2048));
        window->GetDates(work / "a.bin");
        SetText(kText1, work.Path());
        SetText(kText2, "1");
    }
    void Click(ControlId id) { SendMessageW(Control(id), BM_CLICK, 0, 0); }
    // Lets the window's messages run until its task has ended and been told; the end is handled
    // here, so what its handler lets out reaches the test.
    void WaitForTaskEnd() {
        const HWND handle = window->hwnd();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (std::chrono::steady_clock::now() < deadline) {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (message.message == MainF::kTaskEndedMessage && message.hwnd == handle) return window->TaskEnded();
                ui::DispatchWithNavigation(message);
            }
            Sleep(1);
        }
        FAIL() << "the task did not end";
    }
    void RunTask() {
        Click(kCommand2);
        WaitForTaskEnd();
    }
    // A source far too large to copy before a stop: 8 GiB that take no room on disk, in
    // pieces of 100 MB.
    void PrepareHugeSplit() {
        MakeSparseFile(work / "huge.bin", 8ull << 30);
        window->GetDates(work / "huge.bin");
        SetText(kText1, work.Path());
        Click(kOption3);
    }
    bool Checked(ControlId id) { return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void ClickBox(ControlId id) {
        SendMessageW(Control(id), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageW(Control(id), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    }
    // Position in the window's stacking order, 0 on top.
    int StackPosition(ControlId id) {
        int position = 0;
        for (HWND child = GetWindow(GetTopWindow(window->hwnd()), GW_HWNDFIRST); child;
             child = GetWindow(child, GW_HWNDNEXT), ++position)
            if (child == Control(id)) return position;
        return -1;
    }
    int OuterHeight() {
        RECT outer{};
        GetWindowRect(window->hwnd(), &outer);
        return outer.bottom - outer.top;
    }
    std::string Setting(const std::string& key) {
        wchar_t value[255] = {};
        GetPrivateProfileStringW(L"main", Widen(key).c_str(), L"", value, 255, Widen(app / "Sysset.ini").c_str());
        return Narrow(value);
    }
};

TEST_F(MainWindow, OpensInSplitModeCollapsedWithStoredOptions) {
    Open("[Main]\r\nsetbat=1\r\nSetAdd=0\r\nSetGet=1\r\nQutoEt=0\r\n");
    wchar_t title[64] = {};
    GetWindowTextW(window->hwnd(), title, 64);
    EXPECT_STREQ(title, L"Quilvane文件分割器V1.13");
    EXPECT_TRUE(Checked(kOpDelFale));
    EXPECT_TRUE(Checked(kOkbs));
    EXPECT_EQ(Text(kText2), "100");
    EXPECT_EQ(Text(kTQueries), "展开 <<");
    EXPECT_EQ(OuterHeight(), ui::TwipsToPixels(kCollapsedHeight, ui::ScreenDpi()));
    EXPECT_EQ(window->OptionBox(kChkSets).Value(), 1) << "section and key match without regard to case";
    EXPECT_EQ(window->OptionBox(kAutosets).Value(), 1);
    EXPECT_EQ(window->OptionBox(kChkAdd).Value(), 0);
    EXPECT_GT(StackPosition(kCombo1), StackPosition(kFrame2)) << "the list starts hidden under Frame2";
    EXPECT_LT(StackPosition(kTxtPsd), StackPosition(kFrame2));
}

TEST_F(MainWindow, OptionClicksAreStoredAtOnce) {
    Open("[main]\r\nSetAdd=0\r\n");
    ClickBox(kChkAdd);
    EXPECT_EQ(window->OptionBox(kChkAdd).Value(), 1);
    EXPECT_EQ(Setting("SetAdd"), "1");
    const std::string file = ReadFile(app / "Sysset.ini");
    EXPECT_EQ(file.find("Setadd"), std::string::npos) << "the existing key is updated, not a second one added";
    ClickBox(kChkAdd);
    EXPECT_EQ(Setting("SetAdd"), "0");
    ClickBox(kAutoQto);
    EXPECT_EQ(Setting("QutoEt"), "1");
}

TEST_F(MainWindow, AClickOnAGrayedBoxStoresTheClearValueItShows) {
    Open("[main]\r\nSetBat=2\r\nSetAdd=2\r\n");
    ClickBox(kChkSets);
    EXPECT_EQ(window->OptionBox(kChkSets).Value(), 0);
    EXPECT_EQ(Setting("SetBat"), "0");
    Click(kGetFile);
    ClickBox(kChkAdd);
    EXPECT_EQ(Setting("SetAdd"), "0");
    EXPECT_GT(StackPosition(kCombo1), StackPosition(kFrame2)) << "a box going clear leaves list mode";
}

// Whatever the stacking order does to the windows' own grouping, each pair stays a pair.
TEST_F(MainWindow, ModeAndUnitAreTwoIndependentPairs) {
    Open();
    Click(kOption3);
    EXPECT_TRUE(Checked(kOption3));
    EXPECT_FALSE(Checked(kOkbs));
    EXPECT_TRUE(Checked(kOpDelFale)) << "choosing MB keeps split mode";
    EXPECT_FALSE(Checked(kGetFile));
    Click(kGetFile);
    EXPECT_TRUE(Checked(kGetFile));
    EXPECT_FALSE(Checked(kOpDelFale));
    EXPECT_TRUE(Checked(kOption3)) << "choosing the mode keeps the unit";
    Click(kOpDelFale);
    Click(kOkbs);
    EXPECT_TRUE(Checked(kOpDelFale));
    EXPECT_TRUE(Checked(kOkbs));
    EXPECT_FALSE(Checked(kOption3));
}

TEST_F(MainWindow, ModesSwitchSourceSizeAndList) {
    Open("[main]\r\nSetAdd=1\r\n");
    window->GetDates("C:\\data\\big.iso");
    Click(kGetFile);
    EXPECT_EQ(Text(kTxtPsd), "") << "merge mode empties the source";
    EXPECT_FALSE(IsWindowEnabled(Control(kText2)));
    EXPECT_FALSE(IsWindowEnabled(Control(kOkbs)));
    EXPECT_TRUE(Checked(kOkbs)) << "the unit stays selected";
    EXPECT_EQ(StackPosition(kCombo1), 0) << "list mode puts the list on top";
    window->FileList().AddItem(L"C:\\a.dat");
    ClickBox(kChkAdd);
    EXPECT_GT(StackPosition(kCombo1), StackPosition(kFrame2));
    EXPECT_EQ(window->FileList().ListCount(), 0) << "leaving list mode empties the list";
    Click(kOpDelFale);
    EXPECT_TRUE(IsWindowEnabled(Control(kText2)));
    EXPECT_TRUE(IsWindowEnabled(Control(kOption3)));
    EXPECT_EQ(Text(kTxtPsd), "");
}

TEST_F(MainWindow, ChoosingSeveralFilesFillsTheList) {
    Open("[main]\r\nSetAdd=1\r\nSetGet=1\r\n");
    Click(kGetFile);
    dialogs.nextFile = std::string("C:\\x\\a.txt\0C:\\x\\b.txt\0C:\\x\\c.txt", 32);
    Click(kCmdFile);
    EXPECT_TRUE(dialogs.lastAllowMany);
    EXPECT_EQ(dialogs.lastFilter, "所有文件(*.*)|*.*");
    EXPECT_EQ(dialogs.lastTitle, "打开文件");
    ASSERT_EQ(window->FileList().ListCount(), 3);
    EXPECT_EQ(window->FileList().List(2), L"C:\\x\\c.txt");
    EXPECT_EQ(window->FileList().Text(), L"C:\\x\\a.txt");
    EXPECT_EQ(Text(kText1), "C:\\x\\");
    dialogs.nextFile = "D:\\y\\d.txt";
    Click(kCmdFile);
    EXPECT_EQ(window->FileList().ListCount(), 4);
    EXPECT_EQ(Text(kText1), "C:\\x\\") << "only the first file of an empty list fills the target";
}

TEST_F(MainWindow, DescriptorFilterOutsideListModeAndCancelChangesNothing) {
    Open();
    Click(kGetFile);
    dialogs.nextFile = "";
    Click(kCmdFile);
    EXPECT_EQ(dialogs.lastFilter, "准备合并文件(*.hpe)|*.hpe");
    EXPECT_FALSE(dialogs.lastAllowMany);
    EXPECT_EQ(Text(kTxtPsd), "");
    dialogs.nextFolder = "";
    SetText(kText1, "D:\\keep\\");
    Click(kCmdOpsee);
    EXPECT_EQ(dialogs.lastTitle, "选择文件夹");
    EXPECT_EQ(Text(kText1), "D:\\keep\\");
}

TEST_F(MainWindow, DropTakesTheFirstFileOnly) {
    Open("[main]\r\nSetGet=1\r\n");
    SendMessageW(Control(kText1), WM_DROPFILES,
                 reinterpret_cast<WPARAM>(MakeDrop({"C:\\d\\one.bin", "C:\\d\\two.bin"})), 0);
    EXPECT_EQ(Text(kTxtPsd), "C:\\d\\one.bin");
    EXPECT_EQ(Text(kText1), "C:\\d\\");
    SendMessageW(window->hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({"E:\\three.bin"})), 0);
    EXPECT_EQ(Text(kTxtPsd), "E:\\three.bin");
    SendMessageW(Control(kFrame1), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({"noslash.bin"})), 0);
    EXPECT_EQ(Text(kTxtPsd), "noslash.bin");
    EXPECT_EQ(Text(kText1), "") << "a path without a backslash empties the target";
}

TEST_F(MainWindow, SizeFieldTakesDigitsOnlyAndNeverStaysEmpty) {
    Open();
    SetText(kText2, "");
    EXPECT_EQ(Text(kText2), "0");
    SendMessageW(Control(kText2), EM_SETSEL, 0, -1);
    for (wchar_t c : std::wstring(L"1a -.5")) SendMessageW(Control(kText2), WM_CHAR, c, 0);
    EXPECT_EQ(Text(kText2), "15");

    // Pasted text keeps only its digits.
    ASSERT_TRUE(OpenClipboard(window->hwnd()));
    EmptyClipboard();
    const std::wstring pasted = L"2 MB, 0";
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, (pasted.size() + 1) * sizeof(wchar_t));
    std::memcpy(GlobalLock(copy), pasted.c_str(), (pasted.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(copy);
    SetClipboardData(CF_UNICODETEXT, copy);
    CloseClipboard();
    SendMessageW(Control(kText2), EM_SETSEL, 0, -1);
    SendMessageW(Control(kText2), WM_PASTE, 0, 0);
    EXPECT_EQ(Text(kText2), "20");
}

TEST_F(MainWindow, ExpandsAndCollapsesWithItsCaption) {
    Open();
    const int dpi = ui::ScreenDpi();
    Click(kTQueries);
    EXPECT_EQ(Text(kTQueries), "缩回 >>");
    EXPECT_EQ(OuterHeight(), ui::TwipsToPixels(kExpandedHeight, dpi));
    Click(kTQueries);
    EXPECT_EQ(Text(kTQueries), "展开 <<");
    EXPECT_EQ(OuterHeight(), ui::TwipsToPixels(kCollapsedHeight, dpi));
}

TEST_F(MainWindow, ListMenuDeletesOnlyASelectedRow) {
    Open("[main]\r\nSetAdd=1\r\n");
    Click(kGetFile);
    window->FileList().AddItem(L"C:\\a");
    window->FileList().AddItem(L"C:\\b");
    window->Dels_Click();
    EXPECT_EQ(window->FileList().ListCount(), 2);
    window->FileList().SetListIndex(1);
    SendMessageW(window->hwnd(), WM_COMMAND, MAKEWPARAM(kDels, 0), 0);
    ASSERT_EQ(window->FileList().ListCount(), 1);
    EXPECT_EQ(window->FileList().List(0), L"C:\\a");
    SendMessageW(window->hwnd(), WM_COMMAND, MAKEWPARAM(kClse, 0), 0);
    EXPECT_EQ(window->FileList().ListCount(), 0);
}

TEST_F(MainWindow, HelpOpensTheHelpFileBesideTheProgram) {
    Open();
    Click(kCommand5);
    ASSERT_EQ(dialogs.opened.size(), 1u);
    EXPECT_EQ(dialogs.opened[0], app / "help.chm" + "||1");
}

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
    WaitForTaskEnd();
    EXPECT_EQ(dialogs.notices, std::vector<std::string>{"任务被中断：未完成的临时文件已删除，原有的文件没有改动"});
    EXPECT_EQ(NamesIn(work.Path()), (std::vector<std::string>{"001.pe", "huge.bin", "huge.hpe"}));
    EXPECT_EQ(ReadFile(work / "001.pe"), "an old piece");
    EXPECT_EQ(ReadFile(work / "huge.hpe"), "an old descriptor");
    EXPECT_EQ(Text(kCommand2), "开始");
    EXPECT_TRUE(IsWindowEnabled(Control(kText2)));
    EXPECT_TRUE(window->OptionBox(kChkAdd).Enabled());
}

TEST_F(MainWindow, ClosingDuringATaskAsksAndYesStopsItThenCloses) {
    Open();
    PrepareHugeSplit();
    const HWND handle = window->hwnd();
    Click(kCommand2);
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

TEST_F(MainWindow, SessionEndStopsATaskAndItsTemporaryFilesGoFirst) {
    Open();
    PrepareHugeSplit();
    Click(kCommand2);
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
