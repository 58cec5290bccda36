#include "mime_message.h"

#include <cstdio>
#include <ctime>
#include <random>

#include "addresses.h"
#include "local_time.h"
#include "mime_encoding.h"
#include "text_util.h"

namespace quilvane::mail {
namespace {

// Longer plain headers are written as encoded words, which fold onto lines of their own.
constexpr std::size_t kLongestPlainHeader = 900;
constexpr const char* kFold = "\r\n ";

std::string Joined(const std::vector<std::string>& parts, const char* separator) {
    std::string joined;
    for (const std::string& part : parts) joined += (joined.empty() ? "" : separator) + part;
    return joined;
}

bool IsPlainHeaderText(std::string_view text) {
    if (text.size() > kLongestPlainHeader) return false;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < ' ' && c != '\t') || byte >= 0x7F) return false;
    }
    return true;
}

// Header text with its line breaks turned into blanks, so it cannot start a header of its own.
std::string OneLine(std::string_view text) {
    std::string line(text);
    for (char& c : line)
        if (c == '\r' || c == '\n') c = ' ';
    return line;
}

std::string HeaderText(std::string_view text) {
    const std::string line = OneLine(text);
    return IsPlainHeaderText(line) ? line : Joined(EncodedWords(line), kFold);
}

std::string AddressEntry(std::string_view entry) {
    std::string mailbox = MailboxOf(entry);
    const std::string name = OneLine(DisplayNameOf(entry));
    if (name.empty()) return mailbox;
    return (IsPlainHeaderText(name) ? Quoted(name) : Joined(EncodedWords(name), kFold)) + " <" + mailbox + ">";
}

std::string DomainOf(std::string_view entry) {
    const std::string mailbox = MailboxOf(entry);
    const std::size_t at = mailbox.rfind('@');
    const std::string domain = at == std::string::npos ? "" : mailbox.substr(at + 1);
    return IsUsableMailbox(domain) && domain.find('@') == std::string::npos ? domain : "localhost";
}

// Mostly ASCII text stays readable as quoted-printable; other text is shorter in base64.
bool ReadsBetterQuoted(std::string_view text) {
    std::size_t high = 0;
    for (char c : text) high += static_cast<unsigned char>(c) >= 0x80;
    return high * 4 <= text.size();
}

void AppendBodyPart(std::string& out, const std::string& body) {
    const std::string text = WithCrLf(body);
    const bool quoted = ReadsBetterQuoted(text);
    out += "Content-Type: text/plain; charset=UTF-8\r\n";
    out += std::string("Content-Transfer-Encoding: ") + (quoted ? "quoted-printable" : "base64") + "\r\n\r\n";
    if (quoted)
        out += QuotedPrintable(text);
    else
        AppendBase64Lines(out, text);
}

void AppendAttachmentPart(std::string& out, const Attachment& attachment) {
    const std::string name = OneLine(attachment.fileName);
    const bool plain = IsPlainHeaderText(name) && name.size() <= 200;
    const std::string typeName = plain ? Quoted(name) : "\"" + Joined(EncodedWords(name), kFold) + "\"";
    const std::string fileName =
        plain ? "filename=" + Quoted(name) : Joined(ExtendedParameter("filename", name), ";\r\n ");
    out += "Content-Type: application/octet-stream;\r\n name=" + typeName + "\r\n";
    out += "Content-Transfer-Encoding: base64\r\n";
    out += "Content-Disposition: attachment;\r\n " + fileName + "\r\n\r\n";
    AppendBase64Lines(out, attachment.bytes);
}

}  // namespace

std::string MailDate(std::int64_t unixTime, int utcOffsetMinutes) {
    static constexpr const char* kDays[] = {"Thu", "Fri", "Sat", "Sun", "Mon", "Tue", "Wed"};
    static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const std::int64_t local = unixTime + std::int64_t{utcOffsetMinutes} * 60;
    std::int64_t days = local / 86400;
    std::int64_t seconds = local % 86400;
    if (seconds < 0) seconds += 86400, days -= 1;
    const char* weekday = kDays[((days % 7) + 7) % 7];
    // Days since 1970-01-01 to a civil date, in eras of 400 years.
    const std::int64_t z = days + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t dayOfEra = z - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    const int month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    const long long year = yearOfEra + era * 400 + (month <= 2);
    const int offset = utcOffsetMinutes < 0 ? -utcOffsetMinutes : utcOffsetMinutes;
    char text[64];
    std::snprintf(text, sizeof text, "%s, %02d %s %lld %02d:%02d:%02d %c%02d%02d", weekday, day, kMonths[month - 1],
                  year, static_cast<int>(seconds / 3600), static_cast<int>(seconds / 60 % 60),
                  static_cast<int>(seconds % 60), utcOffsetMinutes < 0 ? '-' : '+', offset / 60, offset % 60);
    return text;
}

MessageStamp StampNow() {
    MessageStamp stamp;
    stamp.unixTime = static_cast<std::int64_t>(std::time(nullptr));
    stamp.utcOffsetMinutes = UtcOffsetMinutes(stamp.unixTime);
    std::random_device entropy;
    char id[64];
    std::snprintf(id, sizeof id, "%08x%08x%llx", entropy(), entropy(), static_cast<unsigned long long>(stamp.unixTime));
    stamp.uniqueId = id;
    return stamp;
}

std::string ComposeMessage(MessageContent content, const MessageStamp& stamp) {
    std::vector<std::string> recipients;
    for (const std::string& entry : content.to) recipients.push_back(AddressEntry(entry));
    const std::string boundary = "=_quilvane_" + stamp.uniqueId;

    std::size_t encodedSize = content.body.size() * 3 + 4096;
    for (const Attachment& attachment : content.attachments)
        encodedSize += attachment.bytes.size() / 57 * 78 + 1024 + attachment.fileName.size() * 4;
    std::string out;
    out.reserve(encodedSize);  // one allocation, not a doubling copy of a large message
    out += "From: " + AddressEntry(content.from) + "\r\n";
    out += "To: " + Joined(recipients, ",\r\n ") + "\r\n";
    out += "Subject: " + HeaderText(content.subject) + "\r\n";
    out += "Date: " + MailDate(stamp.unixTime, stamp.utcOffsetMinutes) + "\r\n";
    out += "Message-ID: <" + stamp.uniqueId + "@" + DomainOf(content.from) + ">\r\n";
    out += "MIME-Version: 1.0\r\n";
    out += "Content-Type: multipart/mixed;\r\n boundary=\"" + boundary + "\"\r\n\r\n";
    out += "--" + boundary + "\r\n";
    AppendBodyPart(out, content.body);
    for (Attachment& attachment : content.attachments) {
        out += "--" + boundary + "\r\n";
        AppendAttachmentPart(out, attachment);
        std::string().swap(attachment.bytes);
    }
    out += "--" + boundary + "--\r\n";
    return out;
}

std::uint64_t ComposedSize(const MessageContent& content, const std::vector<std::uint64_t>& byteCounts,
                           const MessageStamp& stamp) {
    // Attachment bytes change nothing but their own base64 lines.
    MessageContent names{content.from, content.to, content.subject, content.body, {}};
    for (const Attachment& attachment : content.attachments) names.attachments.push_back({attachment.fileName, {}});
    std::uint64_t size = ComposeMessage(std::move(names), stamp).size();
    for (std::uint64_t count : byteCounts) size += Base64LinesSize(count);
    return size;
}

}  // namespace quilvane::mail
