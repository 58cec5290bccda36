#pragma once
// Replies of an SMTP server: one or more lines "250-..." ending with "250 ...", read from a
// stream whatever way the bytes arrive.

#include <string>
#include <vector>

#include "byte_stream.h"

namespace quilvane::mail {

struct Reply {
    int code = 0;
    std::vector<std::string> lines;  // the text after each "250-" or "250 "

    bool Is(int wanted) const { return code == wanted; }
    // "550 no such user; try again", as a user reads it.
    std::string Text() const;
};

// What the server offers in its EHLO reply.
struct Extensions {
    bool startTls = false;
    bool authPlain = false;
    bool authLogin = false;
    unsigned long long sizeLimit = 0;  // the largest message it takes, in bytes; 0 when it says none
};
Extensions ExtensionsOf(const Reply& ehlo);

class ReplyReader {
public:
    // `serverLabel` names the server in messages.
    explicit ReplyReader(std::string serverLabel) : label_(std::move(serverLabel)) {}

    // The whole reply must have come by `deadline`.
    Result<Reply> Read(ByteStream& stream, TimePoint deadline);
    // Bytes read beyond the last reply are dropped: after STARTTLS nothing sent in clear
    // before the handshake may count as the server's.
    void DropBuffered() { buffered_.clear(); }

private:
    Result<std::string> ReadLine(ByteStream& stream, TimePoint deadline);

    std::string label_;
    std::string buffered_;
};

}  // namespace quilvane::mail
