// The e-mail window under Wine, driven through window messages, with stand-ins for the
// modal dialogs, the sending and the password protection.

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <deque>

#include <gtest/gtest.h>

#include "emlssea.h"
#include "local_servers.h"
#include "subclass.h"
#include "test_support.h"
#include "utf16.h"

namespace quilvane::mail {
namespace {

using namespace quilvane::testing;
using testing::LocalServers;

// Answers the file dialog from a queue and questions with `questionAnswer`; records every notice.
class StandInDialogs final : public shell::Dialogs {
public:
    std::deque<std::string> answers;
    std::vector<std::string> notices;
    std::vector<std::string> requests;  // "filter|title|many" of each file dialog
    std::vector<std::string> questions;
    int questionAnswer = IDNO;
    DWORD questionThread = 0;

    std::string PickFile(const std::string& filter, const std::string& title, bool allowMany) override {
        requests.push_back(filter + "|" + title + "|" + (allowMany ? "many" : "one"));
        if (answers.empty()) return {};
        std::string answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::string PickFolder(const std::string&, HWND) override { return {}; }
    void OpenWithShell(const std::string&, const std::string&, int) override {}
    int ShowNotice(const std::string& text, int style) override {
        if (style == 64) {
            notices.push_back(text);
            return IDOK;
        }
        EXPECT_EQ(style, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) << "a question, 否 unless 是 is picked";
        questions.push_back(text);
        questionThread = GetCurrentThreadId();
        return questionAnswer;
    }
};

// Records what it is asked to send; can hold the send until told to let it go, then ask
// whether the password may go in clear, or fail as nothing should.
class RecordingSubmitter final : public MailSubmitter {
public:
    Status result = Status::Ok();
    std::vector<MailRequest> requests;
    std::atomic<int> calls{0};
    HANDLE release = nullptr;  // when set, each send waits for it
    bool asksForPlainLogin = false;
    bool throwsNoException = false;  // throws what no catch of std::exception takes

    Status Submit(const MailRequest& request, const PlainLoginConsent& allowPlainLogin) override {
        ++calls;
        requests.push_back(request);
        if (release) WaitForSingleObject(release, 20000);
        if (asksForPlainLogin && !allowPlainLogin("smtp.example.test:25")) return Status::Fail("not allowed");
        if (throwsNoException) throw 42;
        return result;
    }
};

// Seals by reversing the bytes behind a tag; or cannot seal at all.
class StandInVault final : public PasswordVault {
public:
    bool available = true;
    std::optional<std::string> Seal(const std::string& secret) override {
        if (!available) return std::nullopt;
        return "sealed:" + std::string(secret.rbegin(), secret.rend());
    }
    std::optional<std::string> Open(const std::string& sealed) override {
        if (sealed.rfind("sealed:", 0) != 0) return std::nullopt;
        return std::string(sealed.rbegin(), sealed.rend() - 7);
    }
};

struct MailWindow : ::testing::Test {
    TempFolder app;
    StandInDialogs dialogs;
    RecordingSubmitter submitter;
    StandInVault vault;
    MailServices services{submitter, vault};
    shell::Skin se;
    std::unique_ptr<Emlssea> window;

    void Open(const std::string& settings = "") {
        if (!settings.empty()) WriteFile(app / "Sysset.ini", settings);
        window = std::make_unique<Emlssea>(se, dialogs, shell::Settings(app.Path()), services);
        ASSERT_TRUE(window->Create(nullptr));
    }
    void Reopen() {
        window.reset();
        Open();
    }
    HWND Control(ControlId id) { return window->Control(id); }
    std::string Text(ControlId id) {
        if (id == kCombo1) return Narrow(window->SmtpList().Text());
        std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(Control(id))) + 1, L'\0');
        text.resize(static_cast<std::size_t>(GetWindowTextW(Control(id), text.data(), static_cast<int>(text.size()))));
        return Narrow(text);
    }
    void SetText(ControlId id, const std::string& text) {
        if (id == kCombo1) return window->SmtpList().SetText(Widen(text));
        SetWindowTextW(Control(id), Widen(text).c_str());
    }
    void Click(ControlId id) { SendMessageW(Control(id), BM_CLICK, 0, 0); }
    std::string StoredValue(const std::string& key) {
        // The raw line, as another program would see it.
        const std::string file = ReadFile(app / "Sysset.ini");
        const std::size_t at = file.find("\n" + key + "=");
        if (at == std::string::npos) return "<missing>";
        const std::size_t start = at + key.size() + 2;
        return file.substr(start, file.find_first_of("\r\n", start) - start);
    }
    void FillEveryField() {
        SetText(kText1, "li@example.test; wang@example.test");
        SetText(kText2, "zhang@example.test");
        SetText(kText3, "zhang");
        SetText(kText4, "秘密 pass\\word");
        SetText(kText5, "分块 第1部分");
        SetText(kText6, "第一行\r\n\r\n.第三行以点开头\r\n  缩进的最后一行  ");
        SetText(kText7, "C:\\out\\movie.001.pe");
        SetText(kCombo1, "smtp.example.test:587");
    }
};

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
    RECT client{};
    GetClientRect(window->hwnd(), &client);
    EXPECT_EQ(client.bottom, ui::TwipsToPixels(kDesignClientHeight, ui::ScreenDpi())) << "the whole design fits";
    EXPECT_EQ(client.right, ui::TwipsToPixels(kDesignClientWidth, ui::ScreenDpi()));
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
    RECT client{};
    GetClientRect(window->hwnd(), &client);
    EXPECT_EQ(client.bottom, ui::TwipsToPixels(kDesignClientHeight, ui::ScreenDpi())) << "the whole design fits";
    EXPECT_EQ(client.right, ui::TwipsToPixels(kDesignClientWidth, ui::ScreenDpi()));
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
