// The e-mail window's sending: what it hands over, how it stays answering meanwhile, and how a
// send ends however it fails.

#include "emlssea_fixture.h"
#include "local_servers.h"
#include "subclass.h"

namespace quilvane::mail {
namespace {

using namespace quilvane::testing;
using testing::LocalServers;

TEST_F(MailWindow, SendHandsOverTheFieldsAsTypedAndReportsTheCause) {
    Open();
    FillEveryField();
    dialogs.answers = {std::string("C:\\a.pe\0C:\\b.pe", 15)};
    Click(kTCommand1);
    Click(kCmdYesONo);
    ASSERT_EQ(submitter.requests.size(), 1u);
    const MailRequest& request = submitter.requests[0];
    EXPECT_EQ(request.to, "li@example.test; wang@example.test");
    EXPECT_EQ(request.from, "zhang@example.test");
    EXPECT_EQ(request.user, "zhang");
    EXPECT_EQ(request.password, "秘密 pass\\word");
    EXPECT_EQ(request.server, "smtp.example.test:587");
    EXPECT_EQ(request.subject, "分块 第1部分");
    EXPECT_EQ(request.body, "第一行\r\n\r\n.第三行以点开头\r\n  缩进的最后一行  ");
    EXPECT_EQ(request.attachments, (std::vector<std::string>{"C:\\a.pe", "C:\\b.pe"}));
    EXPECT_EQ(dialogs.notices, std::vector<std::string>{"邮件发送成功!"});

    submitter.result = Status::Fail("用户名或密码不正确：535 5.7.8 Authentication credentials invalid");
    Click(kCmdYesONo);
    EXPECT_EQ(dialogs.notices.back(),
              "邮件发送失败!\n用户名或密码不正确：535 5.7.8 Authentication credentials invalid");
    EXPECT_TRUE(IsWindowEnabled(window->hwnd()));
    ExpectWholeDesignFits();
}

TEST_F(MailWindow, StaysAnsweringWhileSendingAndIgnoresASecondPress) {
    Open();
    ui::Owned<HANDLE, CloseHandle> release(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    submitter.release = release.get();
    bool ranDuringTheSend = false;
    std::wstring captionDuringTheSend;
    ui::Subclass probe;
    probe.Attach(Control(kText1), [&](UINT message, WPARAM, LPARAM, LRESULT& result) {
        if (message != WM_APP) return false;
        ranDuringTheSend = window->Sending();
        wchar_t caption[32] = {};
        GetWindowTextW(Control(kCmdYesONo), caption, 32);
        captionDuringTheSend = caption;
        Click(kCmdYesONo);  // pressed again while the first send is under way
        SendMessageW(window->hwnd(), WM_CLOSE, 0, 0);
        EXPECT_TRUE(IsWindow(window->hwnd())) << "a close waits for the send";
        SetEvent(release.get());
        result = 0;
        return true;
    });
    PostMessageW(Control(kText1), WM_APP, 0, 0);
    Click(kCmdYesONo);
    EXPECT_TRUE(ranDuringTheSend) << "messages ran while the send was under way";
    EXPECT_EQ(captionDuringTheSend, L"正在发送...");
    EXPECT_EQ(submitter.calls.load(), 1) << "the second press was ignored";
    EXPECT_EQ(dialogs.notices, std::vector<std::string>{"邮件发送成功!"});
    EXPECT_FALSE(window->hwnd()) << "the window closed once the send had ended";
}

TEST_F(MailWindow, AnUnexpectedFailureEndsTheSendAndFreesTheButton) {
    Open();
    submitter.throwsNoException = true;
    Click(kCmdYesONo);
    EXPECT_EQ(dialogs.notices, std::vector<std::string>{"邮件发送失败!\n发送时出现意外错误：未知错误"});
    EXPECT_FALSE(window->Sending());
    wchar_t caption[32] = {};
    GetWindowTextW(Control(kCmdYesONo), caption, 32);
    EXPECT_STREQ(caption, L"发送邮件(&E)");
    submitter.throwsNoException = false;
    Click(kCmdYesONo);
    EXPECT_EQ(submitter.calls.load(), 2) << "the next press sends again";
    EXPECT_EQ(dialogs.notices.back(), "邮件发送成功!");
}

TEST_F(MailWindow, AQuitRequestDuringTheSendLeavesTheQuestionAnswerable) {
    Open();
    ui::Owned<HANDLE, CloseHandle> release(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    submitter.release = release.get();
    submitter.asksForPlainLogin = true;
    ui::Subclass probe;
    probe.Attach(Control(kText1), [&](UINT message, WPARAM, LPARAM, LRESULT& result) {
        if (message != WM_APP) return false;
        PostQuitMessage(0);  // the session ends while the send waits
        SetEvent(release.get());
        result = 0;
        return true;
    });
    PostMessageW(Control(kText1), WM_APP, 0, 0);
    Click(kCmdYesONo);
    EXPECT_EQ(dialogs.questions.size(), 1u) << "the question reached the window, and the send did not hang";
    EXPECT_EQ(dialogs.notices, std::vector<std::string>{"邮件发送失败!\nnot allowed"});
    MSG quit{};
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
        << "the quit request stays for the outer loop";
}

TEST_F(MailWindow, AsksOnItsOwnThreadBeforeThePasswordGoesInClear) {
    if (!LocalServers::Running()) GTEST_SKIP() << "needs the servers of smtp_test_server.py around the program";
    OwnClientSubmitter ownClient;
    MailServices real{ownClient, vault};
    window = std::make_unique<Emlssea>(se, dialogs, shell::Settings(app.Path()), real);
    ASSERT_TRUE(window->Create(nullptr));
    FillEveryField();
    SetText(kText3, LocalServers::User());
    SetText(kText4, LocalServers::Password());
    const std::string server = LocalServers::Address("plain");
    SetText(kCombo1, server);
    const std::size_t before = LocalServers::Messages().size();

    Click(kCmdYesONo);  // answered 否
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_NE(dialogs.questions[0].find("明文"), std::string::npos) << dialogs.questions[0];
    EXPECT_NE(dialogs.questions[0].find(server), std::string::npos) << "the question names the server";
    EXPECT_EQ(dialogs.questionThread, GetCurrentThreadId()) << "asked on the window's thread";
    EXPECT_EQ(dialogs.notices.back(), "邮件发送失败!\n服务器“" + server + "”不支持加密连接（STARTTLS），密码没有发送");
    EXPECT_EQ(LocalServers::Messages().size(), before);

    dialogs.questionAnswer = IDYES;
    Click(kCmdYesONo);
    EXPECT_EQ(dialogs.questions.size(), 2u) << "once per send";
    EXPECT_EQ(dialogs.notices.back(), "邮件发送成功!");
    ASSERT_EQ(LocalServers::Messages().size(), before + 1);
    EXPECT_NE(LocalServers::Part(LocalServers::Messages().back(), "envelope.txt").find("tls no"), std::string::npos);
}

TEST_F(MailWindow, SendsThroughTheOwnClientToTheLocalServer) {
    if (!LocalServers::Running()) GTEST_SKIP() << "needs the servers of smtp_test_server.py around the program";
    SubmitOptions options;
    options.trust.caFile = LocalServers::CaFile();
    OwnClientSubmitter ownClient(options);
    MailServices real{ownClient, vault};
    window = std::make_unique<Emlssea>(se, dialogs, shell::Settings(app.Path()), real);
    ASSERT_TRUE(window->Create(nullptr));
    TempFolder files;
    WriteFile(files / "分块.001.pe", PatternBytes(200000, 3));
    FillEveryField();
    SetText(kText1, "li@example.test; wang@example.test");
    SetText(kText3, LocalServers::User());
    SetText(kText4, LocalServers::Password());
    SetText(kCombo1, LocalServers::Address("starttls"));
    dialogs.answers = {files / "分块.001.pe"};
    Click(kTCommand1);
    const std::size_t before = LocalServers::Messages().size();
    Click(kCmdYesONo);
    ASSERT_EQ(dialogs.notices, std::vector<std::string>{"邮件发送成功!"});
    ASSERT_EQ(LocalServers::Messages().size(), before + 1);
    const std::string message = LocalServers::Messages().back();
    EXPECT_EQ(LocalServers::Part(message, "subject.txt"), "分块 第1部分");
    EXPECT_NE(LocalServers::Part(message, "body.txt").find(".第三行以点开头"), std::string::npos);
    EXPECT_EQ(LocalServers::Part(message, "attachment-1.name"), "分块.001.pe");
    EXPECT_TRUE(SameBytes(LocalServers::Part(message, "attachment-1.bin"), PatternBytes(200000, 3)));
    EXPECT_NE(LocalServers::Part(message, "envelope.txt").find("tls yes"), std::string::npos);
}

}  // namespace
}  // namespace quilvane::mail
