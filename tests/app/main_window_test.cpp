#include <windows.h>
#include <shlobj.h>

#include <cstring>

#include "main_window_fixture.h"

namespace quilvane::app {
namespace {

using namespace quilvane::testing;

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

}  // namespace
}  // namespace quilvane::app
