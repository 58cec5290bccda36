#pragma once
// The message as it goes over the wire: headers (From, To, Subject, Date, Message-ID,
// MIME-Version), then multipart/mixed with the plain-text body first and each attachment
// after it in order. Every line ends in CR LF and none is longer than 998 bytes; text that
// is not ASCII is encoded (RFC 2047 in headers, RFC 2231 in file names).

#include <cstdint>
#include <string>
#include <vector>

namespace quilvane::mail {

struct Attachment {
    std::string fileName;  // UTF-8, without a folder
    std::string bytes;
};

struct MessageContent {
    std::string from;             // one entry: "address" or "Name <address>"
    std::vector<std::string> to;  // entries as above
    std::string subject;
    std::string body;  // UTF-8; any kind of line break
    std::vector<Attachment> attachments;
};

// What makes one message unique: when it was written and a random part.
struct MessageStamp {
    std::int64_t unixTime = 0;
    int utcOffsetMinutes = 0;
    std::string uniqueId;  // letters and digits only
};

MessageStamp StampNow();

// Each attachment's bytes are let go as soon as they are written, so the message and the
// attachments do not fill the memory twice over.
std::string ComposeMessage(MessageContent content, const MessageStamp& stamp);

// The size ComposeMessage gives once attachment i holds `byteCounts[i]` bytes, known before
// a byte of them is read: the attachments of `content` need their names only.
std::uint64_t ComposedSize(const MessageContent& content, const std::vector<std::uint64_t>& byteCounts,
                           const MessageStamp& stamp);

// "Tue, 03 Nov 2026 14:05:09 +0800"
std::string MailDate(std::int64_t unixTime, int utcOffsetMinutes);

}  // namespace quilvane::mail
