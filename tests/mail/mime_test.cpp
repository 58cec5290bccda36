// The message writer: what servers and mail programs need of every line. Whether a mail
// program reads the message back right is checked against real servers elsewhere.

#include <sstream>

#include <gtest/gtest.h>

#include "mime_encoding.h"
#include "mime_message.h"
#include "text_util.h"
#include "utf8.h"

namespace quilvane::mail {
namespace {

std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "the text should end in CR LF";
    return lines;
}

std::string Repeated(const std::string& piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) text += piece;
    return text;
}

std::string PatternOf(std::size_t length) {
    std::string bytes;
    for (std::size_t i = 0; i < length; ++i) bytes += static_cast<char>(i * 131 + 7);
    return bytes;
}

MessageStamp FixedStamp() { return {1793530509, 480, "4f2a9c"}; }

TEST(Base64, RoundTripsEveryTailLength) {
    EXPECT_EQ(Base64(""), "");
    EXPECT_EQ(Base64("f"), "Zg==");
    EXPECT_EQ(Base64("fo"), "Zm8=");
    EXPECT_EQ(Base64("foo"), "Zm9v");
    std::string bytes;
    for (int i = 0; i < 300; ++i) {
        bytes += static_cast<char>(i * 37);
        EXPECT_EQ(DecodeBase64(Base64(bytes)), bytes);
    }
    EXPECT_FALSE(DecodeBase64("Zm9"));
    EXPECT_FALSE(DecodeBase64("Zm=v"));
    EXPECT_FALSE(DecodeBase64("Zm9v\n"));
    std::string lines;
    AppendBase64Lines(lines, std::string(200, 'x'));
    for (const std::string& line : LinesOf(lines)) EXPECT_LE(line.size(), 76u);
}

TEST(QuotedPrintable, KeepsLinesShortAndTrailingBlanksVisible) {
    const std::string text = ".starts with a dot\r\n" + Repeated("0123456789", 500) + "\r\n= and \t \r\nend ";
    const std::string encoded = QuotedPrintable(text);
    std::string decoded;
    for (const std::string& line : LinesOf(encoded)) {
        EXPECT_LE(line.size(), 76u) << line;
        EXPECT_TRUE(line.empty() || (line.back() != ' ' && line.back() != '\t')) << "blank at a line end: " << line;
        if (!line.empty() && line.back() == '=')
            decoded += line.substr(0, line.size() - 1);
        else
            decoded += line + "\r\n";
    }
    std::string plain;
    for (std::size_t at = 0; at < decoded.size(); ++at) {
        if (decoded[at] != '=') {
            plain += decoded[at];
            continue;
        }
        plain += static_cast<char>(std::stoi(decoded.substr(at + 1, 2), nullptr, 16));
        at += 2;
    }
    EXPECT_EQ(plain, text + "\r\n");
}

TEST(EncodedWords, NeverSplitACharacterAndFitOnALine) {
    const std::string text = Repeated("分割文件，然后发送。", 20) + "abc";
    std::string joined;
    for (const std::string& word : EncodedWords(text)) {
        EXPECT_LE(word.size(), 66u);
        ASSERT_EQ(word.rfind("=?UTF-8?B?", 0), 0u);
        const std::optional<std::string> bytes = DecodeBase64(word.substr(10, word.size() - 12));
        ASSERT_TRUE(bytes);
        EXPECT_TRUE(IsValidUtf8(*bytes)) << "a word holds whole characters";
        joined += *bytes;
    }
    EXPECT_EQ(joined, text);
}

TEST(ExtendedParameter, CodesStayWholeAcrossPieces) {
    const std::vector<std::string> pieces = ExtendedParameter("filename", Repeated("分块", 30) + " 1.pe");
    ASSERT_GT(pieces.size(), 3u);
    EXPECT_EQ(pieces[0].rfind("filename*0*=UTF-8''%E5%88%86", 0), 0u);
    std::string value;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const std::string prefix = "filename*" + std::to_string(i) + "*=";
        ASSERT_EQ(pieces[i].rfind(prefix, 0), 0u);
        EXPECT_LE(pieces[i].size(), 74u);
        const std::string piece = pieces[i].substr(prefix.size() + (i == 0 ? 7 : 0));
        EXPECT_EQ(piece.find('%', piece.size() >= 2 ? piece.size() - 2 : 0), std::string::npos)
            << "a %XX code split between pieces: " << piece;
        value += piece;
    }
    EXPECT_NE(value.find("%201.pe"), std::string::npos) << "the blank is coded, the rest kept";
}

TEST(ComposeMessage, EveryLineIsShortAndNoTextStartsAHeader) {
    MessageContent content;
    content.from = "张三 <zhang@example.test>";
    content.to = {"li@example.test", "\"Wang, Wu\" <wang@example.test>"};
    content.subject = Repeated("很长的标题", 100) + "\r\nBcc: victim@example.test";
    content.body = "第一行\n.第二行\r\n" + Repeated("x", 5000);
    content.attachments = {{Repeated("很长的文件名", 40) + ".pe", std::string(70000, '\xff')}, {"plain.pe", "abc"}};
    const std::string message = ComposeMessage(content, FixedStamp());
    for (const std::string& line : LinesOf(message)) {
        EXPECT_LE(line.size(), 78u) << line.substr(0, 80);
        EXPECT_NE(line.rfind("Bcc:", 0), 0u) << "a line break in the subject made a header";
    }
    EXPECT_TRUE(IsAscii(message));
    EXPECT_NE(message.find("Date: Sun, 01 Nov 2026 18:55:09 +0800\r\n"), std::string::npos);
    EXPECT_NE(message.find("Message-ID: <4f2a9c@example.test>\r\n"), std::string::npos);
    EXPECT_NE(message.find("To: li@example.test,\r\n \"Wang, Wu\" <wang@example.test>\r\n"), std::string::npos);
    EXPECT_NE(message.find("From: =?UTF-8?B?5byg5LiJ?= <zhang@example.test>\r\n"), std::string::npos);
    // The boundary cannot turn up inside base64 or quoted-printable text.
    const std::string boundary = "--=_quilvane_4f2a9c";
    std::size_t count = 0;
    for (std::size_t at = message.find(boundary); at != std::string::npos; at = message.find(boundary, at + 1)) ++count;
    EXPECT_EQ(count, 4u) << "body, two attachments, closing line";
}

TEST(ComposedSize, IsTheSizeOfTheMessageOnceItsFilesAreRead) {
    // The server's limit is checked against it before a file is read, so it must be exact.
    MessageContent content;
    content.from = "张三 <zhang@example.test>";
    content.to = {"li@example.test"};
    content.subject = "分块";
    content.body = "第一行\n第二行";
    std::vector<std::uint64_t> lengths;
    for (std::size_t length : {0, 1, 2, 3, 56, 57, 58, 113, 114, 115, 70000}) {
        content.attachments.push_back({"分块 " + std::to_string(length) + ".pe", {}});
        lengths.push_back(length);
    }
    const std::uint64_t predicted = ComposedSize(content, lengths, FixedStamp());
    for (std::size_t i = 0; i < lengths.size(); ++i) content.attachments[i].bytes = PatternOf(lengths[i]);
    EXPECT_EQ(predicted, ComposeMessage(content, FixedStamp()).size());
    EXPECT_EQ(Base64LinesSize((std::uint64_t{4} << 30) + 10), 5877323684u) << "no 32-bit wrap";
}

TEST(MailDate, WritesLocalTimeWithItsOffset) {
    EXPECT_EQ(MailDate(0, 0), "Thu, 01 Jan 1970 00:00:00 +0000");
    EXPECT_EQ(MailDate(951782400, 0), "Tue, 29 Feb 2000 00:00:00 +0000");
    EXPECT_EQ(MailDate(1793530509, -330), "Sun, 01 Nov 2026 05:25:09 -0530");
    EXPECT_EQ(MailDate(-1, 0), "Wed, 31 Dec 1969 23:59:59 +0000");
}

}  // namespace
}  // namespace quilvane::mail
