// The e-mail window as a person uses it, in the real program: opened with the main window's
// "邮件", fields typed, a piece added through the file dialog, sent to the local server, and
// what that leaves on the screen, in the settings file and at the server.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "emlssea_layout.h"
#include "local_servers.h"
#include "main_window_layout.h"
#include "test_support.h"
#include "tour.h"
#include "utf16.h"

namespace quilvane::tours {
namespace {

using namespace quilvane::testing;
using mail::testing::LocalServers;

// A control of the e-mail window: its window and its designed place within the client area.
struct MailControl {
    HWND window;
    ui::TwipsRect place;
};

MailControl Find(HWND mailWindow, mail::ControlId id) {
    const auto design = std::find_if(std::begin(mail::kEmlsseaDesign), std::end(mail::kEmlsseaDesign),
                                     [id](const ui::ControlDesign& control) { return control.id == id; });
    const HWND container = design->container == mail::kWindow ? mailWindow : GetDlgItem(mailWindow, design->container);
    return {GetDlgItem(container, id), PlaceInWindow(mail::kEmlsseaDesign, id)};
}

// "邮件" within the main window's client area.
ui::TwipsRect MailButtonPlace() { return PlaceInWindow(app::kMainWindowDesign, app::kCommand4); }

struct MailWindowTour : ::testing::Test {
    TempFolder app, work;
    std::unique_ptr<Program> program;
    HWND mainWindow = nullptr, mailWindow = nullptr;

    void SetUp() override {
        if (!LocalServers::Running()) GTEST_SKIP() << "needs the servers of smtp_test_server.py around the program";
        program = std::make_unique<Program>(ProgramPath(), app.Path());
        mainWindow = program->WaitForWindow(L"Quilvane文件分割器V1.13");
        ASSERT_NE(mainWindow, nullptr) << "the main window did not appear";
        OpenMailWindow();
    }
    void OpenMailWindow() {
        BringToFront(mainWindow);
        Click(ScreenPointOf(mainWindow, MailButtonPlace()));
        mailWindow = program->WaitForWindow(L"电子邮件");
        ASSERT_NE(mailWindow, nullptr) << "the e-mail window did not open";
        BringToFront(mailWindow);
    }
    HWND Control(mail::ControlId id) { return Find(mailWindow, id).window; }
    void ClickOn(mail::ControlId id) { Click(ScreenPointOf(mailWindow, Find(mailWindow, id).place)); }
    // Clicks into an empty field and types as a person does.
    void Type(mail::ControlId id, const std::wstring& text) {
        ClickOn(id);
        ASSERT_TRUE(FocusReaches(Control(id))) << "the click gave field " << id << " no focus";
        TypeText(text);
    }
    std::wstring Text(mail::ControlId id) { return TextOf(Control(id)); }
    // The text box of the server list, the part that takes the typing.
    HWND ServerTextBox() {
        return FindWindowExW(FindWindowExW(Control(mail::kCombo1), nullptr, nullptr, nullptr), nullptr, L"Edit",
                             nullptr);
    }
    std::wstring Notice(int button = IDOK) { return TakeNotice(*program, button); }
    void FillIn(const std::wstring& password) {
        Type(mail::kText1, L"li@example.test;wang@example.test");
        Type(mail::kText2, L"zhang@example.test");
        Type(mail::kText3, Widen(LocalServers::User()));
        Type(mail::kText4, password);
        Type(mail::kCombo1, Widen(LocalServers::Address("plain")));
        Type(mail::kText5, L"分块 第1部分");
        Type(mail::kText6, L"第一行");
        PressKey(VK_RETURN);
        TypeText(L".第二行以点开头");
    }
};

TEST_F(MailWindowTour, TypedFieldsAndAnAddedPieceArriveAtTheServer) {
    WriteFile(work / "movie.001.pe", PatternBytes(150000, 4));
    FillIn(Widen(LocalServers::Password()));
    ASSERT_TRUE(WaitUntil([&] { return Text(mail::kText6) == L"第一行\r\n.第二行以点开头"; }))
        << "Enter breaks the line";
    EXPECT_EQ(TextOf(ServerTextBox()), Widen(LocalServers::Address("plain")));

    ClickOn(mail::kTCommand1);
    const HWND dialog = program->WaitForWindow(L"打开文件");
    ASSERT_NE(dialog, nullptr) << "the file dialog did not appear";
    BringToFront(dialog);
    TypeText(Widen(work / "movie.001.pe"));
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return SendMessageW(Control(mail::kList1), LB_GETCOUNT, 0, 0) == 1; }));
    EXPECT_EQ(Text(mail::kText7), Widen(work / "movie.001.pe"));

    const std::size_t before = LocalServers::Messages().size();
    BringToFront(mailWindow);
    ClickOn(mail::kCmdYesONo);
    const std::wstring question = Notice(IDYES);
    EXPECT_NE(question.find(L"明文"), std::wstring::npos) << "the plain server makes the window ask first";
    EXPECT_EQ(Notice(), L"邮件发送成功!");
    ASSERT_EQ(LocalServers::Messages().size(), before + 1);
    const std::string message = LocalServers::Messages().back();
    EXPECT_EQ(LocalServers::Part(message, "subject.txt"), "分块 第1部分");
    EXPECT_EQ(LocalServers::Part(message, "attachment-1.name"), "movie.001.pe");
    EXPECT_TRUE(SameBytes(LocalServers::Part(message, "attachment-1.bin"), PatternBytes(150000, 4)));
    EXPECT_NE(LocalServers::Part(message, "envelope.txt").find("to li@example.test\nto wang@example.test\n"),
              std::string::npos);

    DoubleClick(ScreenPointOf(mailWindow, Find(mailWindow, mail::kList1).place));
    EXPECT_TRUE(WaitUntil([&] { return SendMessageW(Control(mail::kList1), LB_GETCOUNT, 0, 0) == 0; }))
        << "a double-click empties the list";
}

TEST_F(MailWindowTour, SavedFieldsReturnWhenTheWindowOpensAgain) {
    FillIn(L"wrong password");
    ClickOn(mail::kCommand1);
    ASSERT_TRUE(WaitUntil([&] { return ReadFile(app / "Sysset.ini").find("ta7=") != std::string::npos; }));
    const std::string stored = ReadFile(app / "Sysset.ini");
    EXPECT_EQ(stored.find("wrong password"), std::string::npos) << "the password is not kept in plain text";
    EXPECT_NE(stored.find("ta3={protected}"), std::string::npos);

    PressKey('C', {VK_MENU});  // 清空信息(&C)
    ASSERT_TRUE(WaitUntil([&] { return Text(mail::kText1).empty() && Text(mail::kText6).empty(); }));

    ClickOn(mail::kCmdYesONo);
    EXPECT_EQ(Notice(), L"邮件发送失败!\n没有填写收件人");

    PressKey(VK_F4, {VK_MENU});
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(mailWindow); })) << "the window closes";
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(mainWindow) != FALSE; })) << "the main window takes input again";
    OpenMailWindow();
    EXPECT_EQ(Text(mail::kText1), L"li@example.test;wang@example.test");
    EXPECT_EQ(Text(mail::kText6), L"第一行\r\n.第二行以点开头") << "the body comes back whole";

    ClickOn(mail::kCmdYesONo);
    const std::wstring plain = Widen(LocalServers::Address("plain"));
    const HWND question = WaitForNotice(*program);
    ASSERT_NE(question, nullptr) << "the plain server makes the window ask first";
    EXPECT_EQ(NoticeText(question), L"服务器“" + plain +
                                        L"”不支持加密连接（STARTTLS），仍要以明文发送密码吗？\n"
                                        L"网络上的其他人可能看到这个密码。");
    BringToFront(question);
    PressKey(VK_RETURN);  // Enter takes the default answer, 否
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(question); }));
    EXPECT_EQ(Notice(), L"邮件发送失败!\n服务器“" + plain + L"”不支持加密连接（STARTTLS），密码没有发送");

    ClickOn(mail::kCmdYesONo);
    EXPECT_NE(Notice(IDYES).find(L"明文"), std::wstring::npos);
    EXPECT_EQ(Notice(), L"邮件发送失败!\n用户名或密码不正确：535 5.7.8 Authentication credentials invalid");
}

}  // namespace
}  // namespace quilvane::tours
