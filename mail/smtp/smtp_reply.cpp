#include "smtp_reply.h"

#include <cctype>
#include <cstdlib>

#include "mail_texts.h"

namespace quilvane::mail {
namespace {

// Far more than any real reply; a server that sends more is not speaking SMTP.
constexpr std::size_t kLongestLine = 4096;
constexpr std::size_t kMostLines = 200;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

std::string Reply::Text() const {
    std::string text = std::to_string(code);
    for (std::size_t i = 0; i < lines.size(); ++i) text += (i == 0 ? " " : "; ") + lines[i];
    return text;
}

Extensions ExtensionsOf(const Reply& ehlo) {
    Extensions offered;
    // The first line greets; each further line names one extension with its parameters.
    for (std::size_t i = 1; i < ehlo.lines.size(); ++i) {
        const std::string line = Upper(ehlo.lines[i]);
        if (line == "STARTTLS") offered.startTls = true;
        if (line.rfind("SIZE ", 0) == 0) offered.sizeLimit = std::strtoull(line.c_str() + 5, nullptr, 10);
        if (line.rfind("AUTH ", 0) == 0 || line.rfind("AUTH=", 0) == 0) {
            const std::string methods = " " + line.substr(5) + " ";
            offered.authPlain = offered.authPlain || methods.find(" PLAIN ") != std::string::npos;
            offered.authLogin = offered.authLogin || methods.find(" LOGIN ") != std::string::npos;
        }
    }
    return offered;
}

Result<std::string> ReplyReader::ReadLine(ByteStream& stream, TimePoint deadline) {
    for (;;) {
        if (const std::size_t end = buffered_.find('\n'); end != std::string::npos) {
            // However the bytes came: in one piece or in many, a line is bounded alike.
            if (end > kLongestLine) return Status::Fail(texts::ReplyUnreadable(label_));
            std::string line = buffered_.substr(0, end);
            buffered_.erase(0, end + 1);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            return line;
        }
        if (buffered_.size() > kLongestLine) return Status::Fail(texts::ReplyUnreadable(label_));
        Result<std::string> more = stream.ReceiveSome(deadline);
        if (!more) return more.status();
        buffered_ += *more;
    }
}

Result<Reply> ReplyReader::Read(ByteStream& stream, TimePoint deadline) {
    Reply reply;
    for (;;) {
        Result<std::string> line = ReadLine(stream, deadline);
        if (!line) return line.status();
        const std::string& text = *line;
        const bool wellFormed = text.size() >= 3 && IsDigit(text[0]) && IsDigit(text[1]) && IsDigit(text[2]) &&
                                (text.size() == 3 || text[3] == ' ' || text[3] == '-');
        if (!wellFormed || reply.lines.size() == kMostLines) return Status::Fail(texts::ReplyUnreadable(label_));
        const int code = std::stoi(text.substr(0, 3));
        if (!reply.lines.empty() && code != reply.code) return Status::Fail(texts::ReplyUnreadable(label_));
        reply.code = code;
        reply.lines.push_back(text.size() > 4 ? text.substr(4) : "");
        if (text.size() == 3 || text[3] == ' ') return reply;
    }
}

}  // namespace quilvane::mail
