// The e-mail window's fields, their storage in the settings file and the attachment list.

#include "emlssea_fixture.h"

namespace quilvane::mail {
namespace {

using namespace quilvane::testing;

TEST_F(MailWindow, FirstOpeningShowsEmptyFieldsAndTheServerList) {
    Open();
    wchar_t title[32] = {};
    GetWindowTextW(window->hwnd(), title, 32);
    EXPECT_STREQ(title, L"电子邮件");
    for (ControlId id : {kText1, kText2, kText3, kText4, kText5, kText6, kText7, kCombo1})
        EXPECT_EQ(Text(id), "") << id;
    EXPECT_EQ(window->SmtpList().ListCount(), 5);
    EXPECT_EQ(window->SmtpList().List(0), L"smtp.qq.com");
    EXPECT_FALSE(window->SmtpList().Locked()) << "a server can be typed";
    EXPECT_EQ(SendMessageW(Control(kText4), EM_GETPASSWORDCHAR, 0, 0), L'*');
    EXPECT_EQ(SendMessageW(Control(kText5), EM_GETLIMITTEXT, 0, 0), 200);
    EXPECT_EQ(SendMessageW(Control(kText6), EM_GETLIMITTEXT, 0, 0), 2000);
    EXPECT_TRUE(GetWindowLongW(Control(kText6), GWL_STYLE) & ES_MULTILINE);
    const LONG style = GetWindowLongW(window->hwnd(), GWL_STYLE);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME)) << "fixed single border";
    wchar_t tip[64] = {};
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = window->hwnd();
    tool.uId = reinterpret_cast<UINT_PTR>(Control(kList1));
    tool.lpszText = tip;
    SendMessageW(window->ListTip(), TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(tip, L"双击这里清空内容");
    EXPECT_FALSE(Exists(app / "Sysset.ini")) << "opening writes nothing";
    for (ControlId id : {kFrame1, kText1, kSkinLabel1, kFrame2, kText5})
        EXPECT_TRUE(IsWindowEnabled(Control(id))) << id;
    EXPECT_TRUE(IsWindowEnabled(window->hwnd()));
    ExpectWholeDesignFits();
}

TEST_F(MailWindow, SavedFieldsComeBackWholeAndThePasswordIsNotInPlainText) {
    Open();
    FillEveryField();
    const std::string longServer = std::string(300, 'm') + ".example.test";
    SetText(kCombo1, longServer);
    Click(kCommand1);
    EXPECT_TRUE(dialogs.notices.empty());
    EXPECT_EQ(StoredValue("ta5").rfind("{lines}", 0), 0u) << "the body is stored escaped";
    EXPECT_EQ(StoredValue("ta3").rfind("{protected}", 0), 0u);
    EXPECT_EQ(ReadFile(app / "Sysset.ini").find("pass"), std::string::npos) << "no plain password on disk";
    EXPECT_EQ(StoredValue("ta1"), "zhang@example.test") << "plain values are stored as they are";

    Reopen();
    EXPECT_EQ(Text(kText1), "li@example.test; wang@example.test");
    EXPECT_EQ(Text(kText4), "秘密 pass\\word");
    EXPECT_EQ(Text(kText6), "第一行\r\n\r\n.第三行以点开头\r\n  缩进的最后一行  ");
    EXPECT_EQ(Text(kText7), "C:\\out\\movie.001.pe");
    EXPECT_EQ(Text(kCombo1), longServer) << "no 254-byte cut";
}

TEST_F(MailWindow, CharactersTheSettingsFileLacksComeBackWhole) {
    Open();
    SetText(kText5, "分块 😀 第1部分 ©");
    SetText(kText7, "C:\\照片\\🎉.pe");
    SetText(kText2, "zhang@example.test");
    Click(kCommand1);
    EXPECT_EQ(StoredValue("ta4").find('?'), std::string::npos) << StoredValue("ta4");
    EXPECT_EQ(StoredValue("ta1"), "zhang@example.test");
    Reopen();
    EXPECT_EQ(Text(kText5), "分块 😀 第1部分 ©");
    EXPECT_EQ(Text(kText7), "C:\\照片\\🎉.pe");
}

TEST_F(MailWindow, ValuesStoredTheOldWayReadAsTheyDid) {
    Open(
        "[mains]\r\nta=old@example.test\r\nta3=plain password\r\nta5=only one line\r\nta6=C:\\new\\t.pe\r\n"
        "ta7=smtp.old.test\r\n");
    EXPECT_EQ(Text(kText1), "old@example.test");
    EXPECT_EQ(Text(kText4), "plain password");
    EXPECT_EQ(Text(kText6), "only one line");
    EXPECT_EQ(Text(kText7), "C:\\new\\t.pe") << "backslashes of old values are no escapes";
    EXPECT_EQ(Text(kCombo1), "smtp.old.test");
    Click(kCommand1);
    EXPECT_EQ(StoredValue("ta3").rfind("{protected}", 0), 0u) << "saving again protects the old password";
}

TEST_F(MailWindow, ClearingEmptiesTheScreenButKeepsWhatIsStored) {
    Open();
    FillEveryField();
    Click(kCommand1);
    dialogs.answers.push_back("C:\\a.pe");
    Click(kTCommand1);
    Click(kCommand2);
    for (ControlId id : {kText1, kText2, kText3, kText4, kText5, kText6, kText7, kCombo1})
        EXPECT_EQ(Text(id), "") << id;
    EXPECT_EQ(window->Attachments().size(), 1u) << "the attachment list stays";
    Reopen();
    EXPECT_EQ(Text(kText2), "zhang@example.test");
    EXPECT_TRUE(window->Attachments().empty()) << "the list is never stored";
}

TEST_F(MailWindow, UnprotectablePasswordIsNotStoredAndTheUserHearsItOnce) {
    vault.available = false;
    WriteFile(app / "Sysset.ini", "[mains]\r\nta3=old plain\r\n");
    Open();
    FillEveryField();
    Click(kCommand1);
    Click(kCommand1);
    ASSERT_EQ(dialogs.notices.size(), 1u);
    EXPECT_NE(dialogs.notices[0].find("密码没有保存"), std::string::npos);
    EXPECT_EQ(StoredValue("ta3"), "") << "not even the old plain copy remains";
    EXPECT_EQ(StoredValue("ta2"), "zhang");
    Reopen();
    Click(kCommand1);
    EXPECT_EQ(dialogs.notices.size(), 1u) << "once per run, not once per opening";
}

TEST_F(MailWindow, AddingSelectsExactMatchesAndAppendsTheRest) {
    Open();
    dialogs.answers = {std::string("C:\\x\\a.pe\0C:\\x\\b.pe\0C:\\x\\c.pe", 29), "C:\\x\\b.pe",
                       std::string("C:\\X\\B.PE\0C:\\x\\c.pe", 19), ""};
    Click(kTCommand1);
    EXPECT_EQ(dialogs.requests.back(), "所有文件(*.*)|*.*|打开文件|many");
    EXPECT_EQ(window->Attachments(), (std::vector<std::string>{"C:\\x\\a.pe", "C:\\x\\b.pe", "C:\\x\\c.pe"}));
    EXPECT_EQ(Text(kText7), "C:\\x\\a.pe");
    Click(kTCommand1);
    EXPECT_EQ(window->Attachments().size(), 3u);
    EXPECT_EQ(SendMessageW(Control(kList1), LB_GETCURSEL, 0, 0), 1) << "the existing entry is selected";
    EXPECT_EQ(Text(kText7), "C:\\x\\b.pe");
    Click(kTCommand1);
    EXPECT_EQ(window->Attachments().size(), 4u) << "another letter case is another entry";
    EXPECT_EQ(window->Attachments()[3], "C:\\X\\B.PE");
    EXPECT_EQ(SendMessageW(Control(kList1), LB_GETCURSEL, 0, 0), 2);
    Click(kTCommand1);  // cancelled
    EXPECT_EQ(window->Attachments().size(), 4u);
    EXPECT_EQ(Text(kText7), "C:\\X\\B.PE");
}

TEST_F(MailWindow, DoubleClickOnTheListEmptiesIt) {
    Open();
    dialogs.answers = {std::string("C:\\a.pe\0C:\\b.pe", 15)};
    Click(kTCommand1);
    ASSERT_EQ(window->Attachments().size(), 2u);
    SendMessageW(Control(kList1), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(Control(kList1), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(window->Attachments().empty());
}

}  // namespace
}  // namespace quilvane::mail
