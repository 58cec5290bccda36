// The SMTP client against real local servers (aiosmtpd), each behaving in one way: what
// arrives is checked in the records the servers wrote with Python's MIME parser.

#include <chrono>
#include <filesystem>

#include <gtest/gtest.h>

#include "local_servers.h"
#include "mail_texts.h"
#include "submission.h"
#include "test_support.h"

namespace quilvane::mail {
namespace {

using testing::LocalServers;
using namespace quilvane::testing;

// A clock on which ten seconds pass every time it is read.
class RacingClock final : public Clock {
public:
    TimePoint Now() override { return now_ += std::chrono::seconds(10); }

private:
    TimePoint now_;
};

struct SmtpClient : ::testing::Test {
    void SetUp() override {
        if (!LocalServers::Running()) GTEST_SKIP() << "needs the servers of smtp_test_server.py around the program";
        messagesBefore = LocalServers::Messages().size();
    }

    MailRequest Request(const std::string& listener) {
        MailRequest request;
        request.server = LocalServers::Address(listener);
        request.from = "sender@example.test";
        request.to = "first@example.test";
        request.user = LocalServers::User();
        request.password = LocalServers::Password();
        request.subject = "Pieces";
        request.body = "Three pieces follow.";
        return request;
    }
    // For the servers without encryption that still want a login.
    static SubmitOptions PlainLoginAllowed() {
        SubmitOptions options;
        options.allowPlainLogin = [](const std::string&) { return true; };
        return options;
    }
    SubmitOptions TrustingTestCa(TlsPolicy tls = TlsPolicy::Automatic) {
        SubmitOptions options;
        options.tls = tls;
        options.trust.caFile = LocalServers::CaFile();
        return options;
    }
    // The one message that arrived during the test.
    std::string NewMessage() {
        const std::vector<std::string> messages = LocalServers::Messages();
        EXPECT_EQ(messages.size(), messagesBefore + 1) << "exactly one message should have arrived";
        return messages.size() > messagesBefore ? messages.back() : std::string();
    }
    void ExpectNothingArrived() { EXPECT_EQ(LocalServers::Messages().size(), messagesBefore); }
    static bool Contains(const std::vector<std::string>& lines, const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
    static ::testing::AssertionResult StartsWith(const std::string& text, const std::string& start) {
        if (text.rfind(start, 0) == 0) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "\"" << text << "\" does not start with \"" << start << "\"";
    }

    std::size_t messagesBefore = 0;
};

TEST_F(SmtpClient, DeliversToEveryAddressOfTheRecipientField) {
    MailRequest request = Request("plain");
    request.to = " first@example.test; 张三 <second@example.test>,,\"Li, Si\" <third@example.test> ";
    const Status sent = SubmitMail(request, PlainLoginAllowed());
    ASSERT_TRUE(sent) << sent.message();
    const std::string message = NewMessage();
    const std::string envelope = LocalServers::Part(message, "envelope.txt");
    EXPECT_NE(envelope.find("to first@example.test\nto second@example.test\nto third@example.test\n"),
              std::string::npos)
        << envelope;
    EXPECT_NE(envelope.find("from sender@example.test\n"), std::string::npos);
    EXPECT_EQ(LocalServers::Part(message, "to.txt"),
              "first@example.test, 张三 <second@example.test>, \"Li, Si\" <third@example.test>");
}

TEST_F(SmtpClient, GreetsWithHeloWhenTheServerRefusesEhlo) {
    MailRequest request = Request("heloonly");
    request.user.clear();  // this server takes mail without a login
    ASSERT_TRUE(SubmitMail(request)) << SubmitMail(request).message();
    NewMessage();
    const std::vector<std::string> events = LocalServers::Events("heloonly");
    EXPECT_TRUE(Contains(events, "hello EHLO refused"));
    EXPECT_TRUE(Contains(events, "hello HELO"));
}

TEST_F(SmtpClient, LogsInWithAuthLoginWhenPlainIsNotOffered) {
    const Status sent = SubmitMail(Request("loginonly"), PlainLoginAllowed());
    ASSERT_TRUE(sent) << sent.message();
    NewMessage();
    EXPECT_TRUE(Contains(LocalServers::Events("loginonly"), "auth LOGIN sender@example.test tls=no accepted"));
}

TEST_F(SmtpClient, RefusalsEndTheSubmissionWithWhatTheServerSaid) {
    MailRequest request = Request("plain");
    request.password = "wrong";
    EXPECT_EQ(SubmitMail(request, PlainLoginAllowed()).message(),
              "用户名或密码不正确：535 5.7.8 Authentication credentials invalid");

    request = Request("plain");
    request.to = "first@example.test;busy@example.test";
    EXPECT_EQ(SubmitMail(request, PlainLoginAllowed()).message(),
              "服务器拒绝了收件人“busy@example.test”：451 4.3.0 Mailbox busy, try again later");
    request.to = "nobody@example.test";
    EXPECT_EQ(SubmitMail(request, PlainLoginAllowed()).message(),
              "服务器拒绝了收件人“nobody@example.test”：550 5.1.1 No such mailbox");
    ExpectNothingArrived();
}

TEST_F(SmtpClient, ClosedPortAndSilentServerAreReported) {
    const std::string closed = LocalServers::Address("closed");
    EXPECT_TRUE(StartsWith(SubmitMail(Request("closed")).message(), "无法连接到服务器“" + closed + "”："));

    // The server takes the connection and never answers; the time-out follows the clock.
    SubmitOptions options;
    RacingClock clock;
    options.patience.clock = &clock;
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(SubmitMail(Request("silent"), options).message(),
              "服务器“" + LocalServers::Address("silent") + "”在30秒内没有响应");
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
    ExpectNothingArrived();
}

TEST_F(SmtpClient, PasswordCrossesAPlainConnectionOnlyWhenTheUserAllowsIt) {
    const std::size_t eventsBefore = LocalServers::Events("plain").size();
    std::vector<std::string> asked;
    bool answer = false;
    SubmitOptions options;
    options.allowPlainLogin = [&](const std::string& server) {
        asked.push_back(server);
        return answer;
    };
    const MailRequest request = Request("plain");
    const std::string refused = "服务器“" + request.server + "”不支持加密连接（STARTTLS），密码没有发送";
    EXPECT_EQ(SubmitMail(request).message(), refused) << "nobody to ask means no";
    EXPECT_EQ(SubmitMail(request, options).message(), refused);
    EXPECT_EQ(asked, std::vector<std::string>{request.server}) << "asked once, naming the server";
    const std::vector<std::string> events = LocalServers::Events("plain");
    for (std::size_t i = eventsBefore; i < events.size(); ++i)
        EXPECT_EQ(events[i].rfind("auth", 0), std::string::npos) << "a login went out: " << events[i];
    ExpectNothingArrived();

    answer = true;
    ASSERT_TRUE(SubmitMail(request, options));
    NewMessage();
    EXPECT_TRUE(Contains(LocalServers::Events("plain"), "auth PLAIN sender@example.test tls=no accepted"));

    // Without a user name there is no password to protect: nobody is asked.
    asked.clear();
    MailRequest anonymous = Request("heloonly");
    anonymous.user.clear();
    ASSERT_TRUE(SubmitMail(anonymous, options));
    EXPECT_TRUE(asked.empty());
}

TEST_F(SmtpClient, UpgradesWithStartTlsBeforeTheLogin) {
    MailRequest request = Request("starttls");
    ASSERT_TRUE(SubmitMail(request, TrustingTestCa())) << SubmitMail(request, TrustingTestCa()).message();
    EXPECT_NE(LocalServers::Part(NewMessage(), "envelope.txt").find("tls yes\n"), std::string::npos);
    const std::vector<std::string> events = LocalServers::Events("starttls");
    ASSERT_GE(events.size(), 4u);
    // Greeted in clear, greeted again once encrypted, and only then the login.
    EXPECT_EQ(events[events.size() - 4], "hello EHLO tls=no");
    EXPECT_EQ(events[events.size() - 3], "hello EHLO tls=yes");
    EXPECT_EQ(events[events.size() - 2], "auth PLAIN sender@example.test tls=yes accepted");
}

TEST_F(SmtpClient, ImplicitTlsSpeaksEncryptedFromTheFirstByte) {
    MailRequest request = Request("implicit");
    ASSERT_TRUE(SubmitMail(request, TrustingTestCa(TlsPolicy::Implicit)));
    NewMessage();
    EXPECT_TRUE(Contains(LocalServers::Events("implicit"), "hello EHLO tls=yes"));
    EXPECT_FALSE(Contains(LocalServers::Events("implicit"), "hello EHLO tls=no"));
}

TEST_F(SmtpClient, RequiredStartTlsThatIsNotOfferedSendsNoPassword) {
    const std::size_t loginsBefore = LocalServers::Events("plain").size();
    MailRequest request = Request("plain");
    EXPECT_EQ(SubmitMail(request, TrustingTestCa(TlsPolicy::StartTls)).message(),
              "服务器“" + request.server + "”不支持加密连接（STARTTLS），密码没有发送");
    const std::vector<std::string> events = LocalServers::Events("plain");
    ASSERT_EQ(events.size(), loginsBefore + 1);
    EXPECT_EQ(events.back(), "hello EHLO tls=no") << "greeted, but never logged in";
    ExpectNothingArrived();
}

TEST_F(SmtpClient, CertificatesMustChainToATrustedRootAndNameTheServer) {
    const std::size_t untrustedBefore = LocalServers::Events("untrusted").size();
    const Status stranger = SubmitMail(Request("untrusted"), TrustingTestCa());
    EXPECT_TRUE(StartsWith(stranger.message(), "服务器证书不可信：")) << stranger.message();
    // Without the test CA the right certificate is no better than the stranger's.
    const Status unknown = SubmitMail(Request("starttls"));
    EXPECT_TRUE(StartsWith(unknown.message(), "服务器证书不可信：")) << unknown.message();
    const Status otherHost = SubmitMail(Request("wronghost"), TrustingTestCa());
    EXPECT_TRUE(StartsWith(otherHost.message(), "证书与服务器名称不符：证书不是颁发给“localhost”的"))
        << otherHost.message();
    EXPECT_EQ(LocalServers::Events("untrusted").size(), untrustedBefore + 1) << "no login after the refusal";
    for (const std::string& event : LocalServers::Events("wronghost"))
        EXPECT_EQ(event.rfind("auth", 0), std::string::npos);
    ExpectNothingArrived();
}

TEST_F(SmtpClient, CertificateIssuedToAnAddressMatchesThatAddressOnly) {
    const Status byAddress = SubmitMail(Request("ipaddress"), TrustingTestCa());
    ASSERT_TRUE(byAddress) << byAddress.message();
    EXPECT_NE(LocalServers::Part(NewMessage(), "envelope.txt").find("tls yes\n"), std::string::npos);

    // The certificate for the name "localhost" names no address.
    MailRequest request = Request("starttls");
    request.server.replace(0, request.server.find(':'), "127.0.0.1");
    const Status byName = SubmitMail(request, TrustingTestCa());
    EXPECT_TRUE(StartsWith(byName.message(), "证书与服务器名称不符：证书不是颁发给“127.0.0.1”的")) << byName.message();
}

TEST_F(SmtpClient, ManyAttachmentsWithOddNamesArriveAsNamed) {
    std::string longName;
    for (int i = 0; i < 70; ++i) longName += "名";  // 210 bytes of UTF-8
    const std::vector<std::string> odd = {"a;b=c, d.pe",
                                          "100% 完成.pe",
                                          ".hidden",
                                          "'q' (1) [2] {3} #4 $5 &6 +7 ~8 @9 ^0.pe",
                                          "😀 表情.pe",
                                          "filename=fake.exe; x.pe",
                                          "two  inner  blanks.pe",
                                          std::string(180, 'x') + ".pe",
                                          longName + ".pe"};
    TempFolder files;
    MailRequest request = Request("plain");
    std::vector<std::string> names;
    for (std::size_t i = 0; i < 300; ++i) {
        names.push_back(i < odd.size() ? odd[i] : "piece " + std::to_string(i) + ".pe");
        WriteFile(files / names.back(), PatternBytes(i * 7 + 1, static_cast<unsigned>(i)));
        request.attachments.push_back(files / names.back());
    }
    const Status sent = SubmitMail(request, PlainLoginAllowed());
    ASSERT_TRUE(sent) << sent.message();
    const std::string message = NewMessage();
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string part = "attachment-" + std::to_string(i + 1);
        EXPECT_EQ(LocalServers::Part(message, part + ".name"), names[i]);
        EXPECT_TRUE(
            SameBytes(LocalServers::Part(message, part + ".bin"), PatternBytes(i * 7 + 1, static_cast<unsigned>(i))))
            << names[i];
    }
}

TEST_F(SmtpClient, ServerThatFailsTheMessageMidwayIsNoSuccess) {
    TempFolder files;
    WriteFile(files / "piece.pe", PatternBytes(2 * 1024 * 1024, 8));
    MailRequest request = Request("dropsdata");
    request.user.clear();
    request.attachments = {files / "piece.pe"};
    const std::string dropped = SubmitMail(request).message();
    const std::string label = LocalServers::Address("dropsdata");
    EXPECT_TRUE(StartsWith(dropped, "与服务器“" + label + "”的连接中断：") ||
                dropped == "服务器“" + label + "”断开了连接")
        << dropped;
    EXPECT_TRUE(Contains(LocalServers::Events("dropsdata"), "dropped the message"));

    // A SIZE too large to read, then a refusal of what it had invited.
    request.server = LocalServers::Address("liar");
    EXPECT_EQ(SubmitMail(request).message(),
              "服务器拒绝了邮件内容：552 5.3.4 Message size exceeds fixed maximum message size");
    EXPECT_TRUE(Contains(LocalServers::Events("liar"), "refused the message"));
}

TEST_F(SmtpClient, MiBOfAttachmentsArriveByteForByteOverTls) {
    TempFolder files;
    const std::string large = PatternBytes(3 * 1024 * 1024 + 17, 5), small = PatternBytes(1000, 6);
    WriteFile(files / "movie.avi.001.pe", large);
    WriteFile(files / "分块 二.pe", small);
    MailRequest request = Request("starttls");
    request.attachments = {files / "movie.avi.001.pe", files / "分块 二.pe"};
    ASSERT_TRUE(SubmitMail(request, TrustingTestCa())) << SubmitMail(request, TrustingTestCa()).message();
    const std::string message = NewMessage();
    EXPECT_EQ(LocalServers::Part(message, "attachment-1.name"), "movie.avi.001.pe");
    EXPECT_TRUE(SameBytes(LocalServers::Part(message, "attachment-1.bin"), large));
    EXPECT_EQ(LocalServers::Part(message, "attachment-2.name"), "分块 二.pe");
    EXPECT_TRUE(SameBytes(LocalServers::Part(message, "attachment-2.bin"), small));
}

TEST_F(SmtpClient, MessageBeyondTheServersSizeLimitIsNotSent) {
    TempFolder files;
    WriteFile(files / "big.pe", std::string(25 * 1024 * 1024, 'x'));  // 34 MB once encoded; the server takes 32 MiB
    MailRequest request = Request("plain");
    request.attachments = {files / "big.pe"};
    EXPECT_EQ(SubmitMail(request).message(), "邮件编码后约有34.2 MB，超过了服务器允许的32.0 MB（最大的附件“" +
                                                 files / "big.pe" + "”有25.0 MB），请分成几封发送");
    ExpectNothingArrived();
}

TEST_F(SmtpClient, AttachmentPastFourGiBIsRefusedByNameAndSizeNotCutDown) {
    // A 32-bit length would see the last 10 bytes only, and send them.
    TempFolder files;
    const std::string huge = files / "disk.img.001.pe";
    WriteFile(huge, "");
    std::filesystem::resize_file(huge, (std::uint64_t{4} << 30) + 10);
    MailRequest request = Request("plain");
    request.attachments = {huge};
    const std::size_t eventsBefore = LocalServers::Events("plain").size();
    EXPECT_EQ(SubmitMail(request, PlainLoginAllowed()).message(), "文件“" + huge + "”太大（4.0 GB），不能超过256.0 MB");
    EXPECT_EQ(LocalServers::Events("plain").size(), eventsBefore) << "refused before the server was greeted";
    ExpectNothingArrived();
}

TEST_F(SmtpClient, UnreadableAttachmentSendsNothing) {
    TempFolder files;
    WriteFile(files / "present.pe", "data");
    MailRequest request = Request("plain");
    request.attachments = {files / "present.pe", files / "missing.pe"};
    const std::size_t eventsBefore = LocalServers::Events("plain").size();
    const Status sent = SubmitMail(request);
    EXPECT_TRUE(StartsWith(sent.message(), "打开文件“" + files / "missing.pe" + "”失败：")) << sent.message();
    EXPECT_EQ(LocalServers::Events("plain").size(), eventsBefore) << "the server was not even greeted";
    ExpectNothingArrived();
}

TEST(Submission, RefusesFieldsThatCannotMakeAMessage) {
    MailRequest request;
    request.server = "localhost:1";
    request.from = "a@example.test";
    EXPECT_EQ(SubmitMail(request).message(), texts::kNoRecipient);
    request.to = " ; , ";
    EXPECT_EQ(SubmitMail(request).message(), texts::kNoRecipient);
    request.to = "b@example.test";
    request.from = "  ";
    EXPECT_EQ(SubmitMail(request).message(), texts::kNoSender);
    request.from = "a@example.test";
    request.server = "";
    EXPECT_EQ(SubmitMail(request).message(), texts::kNoServer);
    request.server = "localhost:99999";
    EXPECT_EQ(SubmitMail(request).message(), texts::PortInvalid("localhost:99999"));
    // A line break in an address would end the command and start one of the sender's choosing.
    request.server = "localhost:1";
    request.to = "b@example.test>\r\nRCPT TO:<c@example.test";
    EXPECT_EQ(SubmitMail(request).message(), texts::AddressInvalid("b@example.test>\r\nRCPT TO:<c@example.test"));
}

}  // namespace
}  // namespace quilvane::mail
