// Server replies however their bytes arrive, and the text files users send.

#include <deque>

#include <gtest/gtest.h>

#include "codepage.h"
#include "mail_texts.h"
#include "smtp_reply.h"
#include "text_util.h"
#include "utf8.h"

namespace quilvane::mail {
namespace {

// Hands out the given pieces one by one, then reports the connection closed.
class ScriptedStream final : public ByteStream {
public:
    explicit ScriptedStream(std::deque<std::string> pieces) : pieces_(std::move(pieces)) {}
    Status SendAll(std::string_view) override { return Status::Ok(); }
    Result<std::string> ReceiveSome(TimePoint deadline) override {
        deadlines.push_back(deadline);
        if (pieces_.empty()) return Status::Fail("closed");
        std::string piece = pieces_.front();
        pieces_.pop_front();
        return piece;
    }

    std::vector<TimePoint> deadlines;

private:
    std::deque<std::string> pieces_;
};

TEST(ReplyReader, JoinsLinesHoweverTheBytesArrive) {
    ScriptedStream stream({"250-smtp.example.test he", "llo\r\n250-STARTTLS\r",
                           "\n250-AUTH LOGIN PLAIN\r\n250 8BITMIME\r\n221 b", "ye\r\n"});
    ReplyReader reader("smtp.example.test:25");
    Result<Reply> ehlo = reader.Read(stream, TimePoint::max());
    ASSERT_TRUE(ehlo);
    EXPECT_EQ(ehlo->code, 250);
    EXPECT_EQ(ehlo->lines,
              (std::vector<std::string>{"smtp.example.test hello", "STARTTLS", "AUTH LOGIN PLAIN", "8BITMIME"}));
    const Extensions offered = ExtensionsOf(*ehlo);
    EXPECT_TRUE(offered.startTls);
    EXPECT_TRUE(offered.authPlain);
    EXPECT_TRUE(offered.authLogin);
    Result<Reply> bye = reader.Read(stream, TimePoint::max());
    ASSERT_TRUE(bye);
    EXPECT_EQ(bye->Text(), "221 bye");
}

TEST(ReplyReader, OneDeadlineHoldsForTheWholeReply) {
    // A server that drips its reply byte by byte gets no new time for each byte.
    ScriptedStream stream({"2", "5", "0", "-a\r", "\n250 b\r\n"});
    const TimePoint deadline = TimePoint() + std::chrono::hours(5);
    ReplyReader reader("s:25");
    ASSERT_TRUE(reader.Read(stream, deadline));
    EXPECT_EQ(stream.deadlines, std::vector<TimePoint>(5, deadline));
}

TEST(ReplyReader, ReadsTheOldAuthFormAndBareCodes) {
    ScriptedStream stream({"250-hi\n250-AUTH=LOGIN\n250 SIZE 100\n354\r\n"});
    ReplyReader reader("s:25");
    Result<Reply> ehlo = reader.Read(stream, TimePoint::max());
    ASSERT_TRUE(ehlo);
    EXPECT_TRUE(ExtensionsOf(*ehlo).authLogin);
    EXPECT_FALSE(ExtensionsOf(*ehlo).authPlain);
    EXPECT_FALSE(ExtensionsOf(*ehlo).startTls);
    EXPECT_EQ(ExtensionsOf(*ehlo).sizeLimit, 100u);
    Result<Reply> go = reader.Read(stream, TimePoint::max());
    ASSERT_TRUE(go);
    EXPECT_TRUE(go->Is(354));
}

TEST(ReplyReader, RefusesWhatIsNoSmtp) {
    for (const char* wrong : {"HTTP/1.1 400 Bad Request\r\n", "250-a\r\n251 b\r\n", "25\r\n", "250x\r\n"}) {
        ScriptedStream stream({wrong});
        ReplyReader reader("s:25");
        EXPECT_EQ(reader.Read(stream, TimePoint::max()).message(), texts::ReplyUnreadable("s:25")) << wrong;
    }
    ScriptedStream endless({std::string(3000, 'x'), std::string(3000, 'x'), "\r\n"});
    ReplyReader reader("s:25");
    EXPECT_EQ(reader.Read(endless, TimePoint::max()).message(), texts::ReplyUnreadable("s:25"));
    // The longest line taken is the same when it comes in one piece: 4096 bytes before its LF.
    ScriptedStream longest({"250 " + std::string(4091, 'x') + "\r\n250 " + std::string(4092, 'x') + "\r\n"});
    ReplyReader whole("s:25");
    EXPECT_TRUE(whole.Read(longest, TimePoint::max()));
    EXPECT_EQ(whole.Read(longest, TimePoint::max()).message(), texts::ReplyUnreadable("s:25"));
}

TEST(TextOfFile, ReadsUtf8WithOrWithoutMarkAndTheAnsiCodePage) {
    EXPECT_EQ(TextOfFile("\xEF\xBB\xBF你好\r\n"), "你好\r\n");
    EXPECT_EQ(TextOfFile("你好"), "你好");
    Result<std::string> ansi = ToAnsi("分割文件，发送邮件");
    ASSERT_TRUE(ansi);
    EXPECT_EQ(TextOfFile(*ansi), "分割文件，发送邮件");
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF")) << "an overlong slash";
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80")) << "a UTF-16 surrogate";
    EXPECT_FALSE(IsValidUtf8("\xE4\xBD")) << "a character cut short";
}

}  // namespace
}  // namespace quilvane::mail
