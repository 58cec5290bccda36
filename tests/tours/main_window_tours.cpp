// The main window as a person uses it: clicks and keys at the designed places, and what that
// leaves on the screen and on disk.

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "main_window_layout.h"
#include "test_support.h"
#include "tour.h"
#include "utf16.h"

namespace quilvane::tours {
namespace {

using namespace quilvane::testing;
using app::ControlId;

constexpr wchar_t kTitle[] = L"Quilvane文件分割器V1.13";

ui::TwipsRect DesignPlace(ControlId id) { return PlaceInWindow(app::kMainWindowDesign, id); }

struct Finder {
    int id;
    HWND found = nullptr;
};

BOOL CALLBACK MatchId(HWND child, LPARAM state) {
    auto& search = *reinterpret_cast<Finder*>(state);
    if (GetDlgCtrlID(child) != search.id) return TRUE;
    search.found = child;
    return FALSE;
}

HWND ChildWithId(HWND window, int id) {
    Finder finder{id};
    EnumChildWindows(window, MatchId, reinterpret_cast<LPARAM>(&finder));
    return finder.found;
}

struct MainWindowTour : ::testing::Test {
    TempFolder app, work;
    std::unique_ptr<Program> program;
    HWND window = nullptr;

    void Start(const std::string& settings = "", const std::wstring& arguments = L"") {
        if (!settings.empty()) WriteFile(app / "Sysset.ini", settings);
        program = std::make_unique<Program>(ProgramPath(), app.Path(), arguments);
        window = program->WaitForWindow(kTitle);
        ASSERT_NE(window, nullptr) << "the main window did not appear";
        BringToFront(window);
    }
    HWND Control(ControlId id) { return ChildWithId(window, id); }
    std::wstring Text(ControlId id) { return TextOf(Control(id)); }
    bool Checked(ControlId id) { return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void ClickOn(ControlId id) { Click(ScreenPointOf(window, DesignPlace(id))); }
    bool ClickInto(ControlId id) {
        ClickOn(id);
        return FocusReaches(Control(id));
    }
    bool TextBecomes(ControlId id, const std::wstring& text) {
        return WaitUntil([&] { return Text(id) == text; });
    }
    std::wstring Notice() { return TakeNotice(*program); }
    // The file dialog "打开文件", with a path typed into its name field and Enter pressed.
    void ChooseInFileDialog(const std::wstring& typed) {
        const HWND dialog = program->WaitForWindow(L"打开文件");
        ASSERT_NE(dialog, nullptr) << "the file dialog did not appear";
        BringToFront(dialog);
        TypeText(typed);
        PressKey(VK_RETURN);
    }
    SIZE Outer() { return OuterSize(window); }
    int Pixels(int twips) { return ui::TwipsToPixels(twips, ui::ScreenDpi()); }
};

TEST_F(MainWindowTour, SplitsInMegabytesWithClicksAndKeys) {
    const std::string source = work / "data.bin";
    WriteFile(source, PatternBytes(3 * 1024 * 1024 + 5));
    Start("[main]\r\nSetGet=1\r\n", L"\"" + Widen(source) + L"\"");
    ASSERT_TRUE(TextBecomes(app::kText1, Widen(work.Path()))) << "the target follows the source";

    ClickOn(app::kOption3);
    ASSERT_TRUE(WaitUntil([&] { return Checked(app::kOption3); }));
    EXPECT_FALSE(Checked(app::kOkbs));
    EXPECT_TRUE(Checked(app::kOpDelFale)) << "choosing the unit keeps the mode";
    EXPECT_FALSE(Checked(app::kGetFile));

    ASSERT_TRUE(ClickInto(app::kText2));
    PressKey(VK_END);
    for (int i = 0; i < 3; ++i) PressKey(VK_BACK);
    TypeText(L"1");
    ASSERT_TRUE(TextBecomes(app::kText2, L"1"));

    ClickOn(app::kCommand2);
    EXPECT_EQ(Notice(), L"文件分割完毕!");
    EXPECT_EQ(NamesIn(work.Path()), (std::vector<std::string>{"001.pe", "002.pe", "003.pe", "004.pe", "data.bin",
                                                              "data.hpe", "data.sha256"}));
    for (const char* piece : {"001.pe", "002.pe", "003.pe"}) EXPECT_EQ(ReadFile(work / piece).size(), 1048576u);
    EXPECT_EQ(ReadFile(work / "004.pe").size(), 5u);
}

TEST_F(MainWindowTour, SplitsInKilobytesWithTheDesignedDefaults) {
    const std::string source = work / "notes.txt";
    WriteFile(source, PatternBytes(250 * 1024));
    Start("[main]\r\nSetGet=1\r\n", L"\"" + Widen(source) + L"\"");
    ASSERT_TRUE(TextBecomes(app::kText1, Widen(work.Path())));
    EXPECT_TRUE(Checked(app::kOkbs));
    ClickOn(app::kCommand2);
    EXPECT_EQ(Notice(), L"文件分割完毕!");
    EXPECT_EQ(ReadFile(work / "001.pe").size(), 102400u);
    EXPECT_EQ(ReadFile(work / "003.pe").size(), 51200u);
}

TEST_F(MainWindowTour, MergesFromADescriptorTypedIntoTheFileDialog) {
    const std::string original = PatternBytes(5000, 7);
    {
        WriteFile(work / "photo.jpg", original);
        RecordingHost host;
        ASSERT_EQ(RunRecorded(SplitInputs(work / "photo.jpg", work.Path(), "2"), host), TaskOutcome::Done);
        ASSERT_TRUE(std::filesystem::remove(std::filesystem::u8path(work / "photo.jpg")));
    }
    Start("[main]\r\nSetGet=1\r\n");
    ClickOn(app::kGetFile);
    ASSERT_TRUE(WaitUntil([&] { return Checked(app::kGetFile); }));
    EXPECT_FALSE(IsWindowEnabled(Control(app::kText2))) << "merge mode has no size";

    ClickOn(app::kCmdFile);
    ChooseInFileDialog(Widen(work / "photo.hpe"));
    ASSERT_TRUE(TextBecomes(app::kTxtPsd, Widen(work / "photo.hpe")));
    EXPECT_EQ(Text(app::kText1), Widen(work.Path()));

    ClickOn(app::kCommand2);
    EXPECT_EQ(Notice(), L"文件合并完毕!");
    EXPECT_TRUE(SameBytes(ReadFile(work / "photo.jpg"), original));
}

TEST_F(MainWindowTour, JoinsThreeFilesChosenTogether) {
    for (int i = 1; i <= 3; ++i) WriteFile(work / ("x" + std::to_string(i) + ".dat"), std::string(10 * i, 'a' + i));
    Start("[main]\r\nSetAdd=1\r\nSetGet=1\r\n");
    ClickOn(app::kGetFile);
    ASSERT_TRUE(WaitUntil([&] { return Checked(app::kGetFile); }));
    ClickOn(app::kCmdFile);
    ChooseInFileDialog(Widen(work.Path()));  // into the folder first
    TypeText(L"\"x1.dat\" \"x2.dat\" \"x3.dat\"");
    PressKey(VK_RETURN);
    const HWND list = FindWindowExW(Control(app::kCombo1), nullptr, L"ComboBox", nullptr);
    ASSERT_TRUE(WaitUntil([&] { return SendMessageW(list, CB_GETCOUNT, 0, 0) == 3; })) << "three entries";

    ClickOn(app::kCommand2);
    EXPECT_EQ(Notice(), L"文件合并完毕!");
    EXPECT_EQ(ReadFile(work / "x1.txt"), std::string(10, 'b') + std::string(20, 'c') + std::string(30, 'd'));
}

TEST_F(MainWindowTour, ExpandsAndCollapses) {
    Start();
    EXPECT_EQ(Outer().cy, Pixels(app::kCollapsedHeight));
    ClickOn(app::kTQueries);
    ASSERT_TRUE(TextBecomes(app::kTQueries, L"缩回 >>"));
    EXPECT_TRUE(WaitUntil([&] { return Outer().cy == Pixels(app::kExpandedHeight); }));
    ClickOn(app::kTQueries);
    ASSERT_TRUE(TextBecomes(app::kTQueries, L"展开 <<"));
    EXPECT_TRUE(WaitUntil([&] { return Outer().cy == Pixels(app::kCollapsedHeight); }));
}

TEST_F(MainWindowTour, OptionBoxesAreStoredAndComeBackAfterARestart) {
    const ControlId boxes[] = {app::kChkSets, app::kChkAdd, app::kAutosets, app::kAutoQto};
    Start();
    ClickOn(app::kTQueries);
    ASSERT_TRUE(WaitUntil([&] { return Outer().cy == Pixels(app::kExpandedHeight); }));
    for (ControlId box : boxes) {
        ClickOn(box);
        EXPECT_TRUE(WaitUntil([&] { return Checked(box); })) << "box " << box;
    }
    ClickOn(app::kCommand3);
    ASSERT_TRUE(program->WaitForExit());
    const std::string stored = ReadFile(app / "Sysset.ini");
    for (const char* line : {"SetBat=1", "Setadd=1", "SetGet=1", "QutoEt=1"})
        EXPECT_NE(stored.find(line), std::string::npos) << line << " in " << stored;

    Start();
    for (ControlId box : boxes) EXPECT_TRUE(Checked(box)) << "box " << box << " after the restart";
}

TEST_F(MainWindowTour, SizeFieldTakesDigitsBackspaceAndAPaste) {
    Start();
    ASSERT_TRUE(ClickInto(app::kText2));
    PressKey(VK_END);
    for (int i = 0; i < 3; ++i) PressKey(VK_BACK);
    ASSERT_TRUE(TextBecomes(app::kText2, L"0")) << "an emptied field shows 0";
    TypeText(L"1");
    ASSERT_TRUE(TextBecomes(app::kText2, L"1")) << "the next digit replaces the 0";
    TypeText(L"a -.");
    PutOnClipboard(L"2x5");
    PressKey('V', {VK_CONTROL});
    EXPECT_TRUE(TextBecomes(app::kText2, L"125")) << "letters typed or pasted are dropped";
}

TEST_F(MainWindowTour, KeyboardReachesEveryControlInReadingOrder) {
    Start();
    ASSERT_TRUE(WaitUntil([&] { return FocusedIn(window) == Control(app::kOpDelFale); }));
    const ControlId order[] = {app::kCommand1, app::kCommand4, app::kTxtPsd,   app::kCmdFile,
                               app::kText1,    app::kCmdOpsee, app::kText2,    app::kOkbs,
                               app::kCommand2, app::kCommand3, app::kTQueries, app::kOpDelFale};
    for (ControlId next : order) {
        PressKey(VK_TAB);
        EXPECT_TRUE(WaitUntil([&] { return FocusedIn(window) == Control(next); })) << "Tab to " << next;
    }
    PressKey(VK_TAB, {VK_SHIFT});
    EXPECT_TRUE(WaitUntil([&] { return FocusedIn(window) == Control(app::kTQueries); })) << "Shift+Tab goes back";

    PressKey(VK_SPACE);
    ASSERT_TRUE(TextBecomes(app::kTQueries, L"缩回 >>")) << "Space presses the focused button";
    PressKey(VK_TAB);
    EXPECT_TRUE(WaitUntil([&] { return FocusedIn(window) == Control(app::kChkSets); }))
        << "expanded, the option boxes follow";
    PressKey(VK_SPACE);
    EXPECT_TRUE(WaitUntil([&] { return Checked(app::kChkSets); })) << "Space ticks a focused box";
}

TEST_F(MainWindowTour, ArrowsMoveWithinAnOptionGroupAndEnterPressesAButton) {
    Start();
    ASSERT_TRUE(WaitUntil([&] { return FocusedIn(window) == Control(app::kOpDelFale); }));
    PressKey(VK_RIGHT);
    ASSERT_TRUE(WaitUntil([&] { return Checked(app::kGetFile); }));
    EXPECT_FALSE(Checked(app::kOpDelFale));
    EXPECT_TRUE(Checked(app::kOkbs)) << "the other group is untouched";
    EXPECT_FALSE(IsWindowEnabled(Control(app::kText2)));
    PressKey(VK_LEFT);
    ASSERT_TRUE(WaitUntil([&] { return Checked(app::kOpDelFale); }));

    for (int i = 0; i < 9; ++i) PressKey(VK_TAB);  // on to "开始"
    ASSERT_TRUE(WaitUntil([&] { return FocusedIn(window) == Control(app::kCommand2); }));
    PressKey(VK_RETURN);
    EXPECT_EQ(Notice(), L"请指定待分割文件!");
}

// A split too large to finish during a tour: 8 GiB that take no room on disk, cut into 100 MB
// pieces, beside an earlier run's outputs that must survive a stop.
struct TaskTour : MainWindowTour {
    std::string source = work / "big.iso";
    // `start` presses 开始: a click, or a double click, which must start the split and no more.
    void StartHugeSplit(void (*start)(POINT) = Click) {
        MakeSparseFile(source, 8ull << 30);
        for (const char* old : {"001.pe", "big.hpe", "big.bat"}) WriteFile(work / old, std::string("old ") + old);
        Start("[main]\r\nSetGet=1\r\n", L"\"" + Widen(source) + L"\"");
        ASSERT_TRUE(TextBecomes(app::kText1, Widen(work.Path())));
        ClickOn(app::kOption3);
        ASSERT_TRUE(WaitUntil([&] { return Checked(app::kOption3); }));
        start(ScreenPointOf(window, DesignPlace(app::kCommand2)));
        ASSERT_TRUE(TextBecomes(app::kCommand2, L"停止"));
    }
    // The bytes in this run's temporary files.
    std::uintmax_t TemporaryBytes() {
        std::uintmax_t bytes = 0;
        for (const std::string& name : NamesIn(work.Path()))
            if (name.find(".quilvane-") != std::string::npos)
                bytes += std::filesystem::file_size(std::filesystem::u8path(work / name));
        return bytes;
    }
    void ExpectOnlyTheOldFiles() {
        EXPECT_EQ(NamesIn(work.Path()), (std::vector<std::string>{"001.pe", "big.bat", "big.hpe", "big.iso"}));
        for (const char* old : {"001.pe", "big.hpe", "big.bat"})
            EXPECT_EQ(ReadFile(work / old), std::string("old ") + old);
    }
};

TEST_F(TaskTour, TheCopyGoesOnBesideTheMailWindowAndStopLeavesNothingOfIt) {
    StartHugeSplit();
    ClickOn(app::kCommand4);
    const HWND mail = program->WaitForWindow(L"电子邮件");
    ASSERT_NE(mail, nullptr) << "邮件 opens during the copy";
    const std::uintmax_t copied = TemporaryBytes();
    EXPECT_TRUE(WaitUntil([&] { return TemporaryBytes() > copied + (16 << 20); }))
        << "the temporary piece keeps growing while the mail window is open";
    BringToFront(mail);
    PressKey(VK_F4, {VK_MENU});
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(mail); }));

    ClickOn(app::kCommand2);
    EXPECT_EQ(Notice(), L"任务被中断：未完成的临时文件已删除，原有的文件没有改动");
    EXPECT_EQ(Text(app::kCommand2), L"开始");
    EXPECT_TRUE(IsWindowEnabled(Control(app::kText2)));
    ExpectOnlyTheOldFiles();
}

TEST_F(TaskTour, ClosingDuringTheCopyAsksAndYesStopsItAndCloses) {
    StartHugeSplit(DoubleClick);
    ASSERT_TRUE(WaitUntil([&] { return TemporaryBytes() > 16 << 20; }))
        << "the second click of the double click stopped the copy";
    PressKey(VK_F4, {VK_MENU});
    EXPECT_EQ(TakeNotice(*program, IDYES), L"任务还没有完成，要停止任务并退出吗？");
    EXPECT_TRUE(program->WaitForExit());
    ExpectOnlyTheOldFiles();
}

}  // namespace
}  // namespace quilvane::tours
