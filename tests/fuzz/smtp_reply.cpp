// Replies of an SMTP server, whatever it sends. However the bytes are cut on their way, the same
// replies are read, ending in the same failure; each reply has one three-digit code and a
// bounded number of lines of bounded length.

#include <algorithm>
#include <vector>

#include "fuzz_promise.h"
#include "smtp_reply.h"

using namespace quilvane::mail;
using quilvane::Result;
using quilvane::Status;
using quilvane::fuzz::Promise;

namespace {

// The server's bytes in pieces of at most `cut` bytes; after the last, the server has closed.
class CutStream : public ByteStream {
public:
    CutStream(std::string_view bytes, std::size_t cut) : bytes_(bytes), cut_(cut) {}
    Status SendAll(std::string_view) override { return Status::Ok(); }
    Result<std::string> ReceiveSome(TimePoint) override {
        if (bytes_.empty()) return Status::Fail("closed");
        const std::string_view piece = bytes_.substr(0, cut_);
        bytes_.remove_prefix(piece.size());
        return std::string(piece);
    }

private:
    std::string_view bytes_;
    std::size_t cut_;
};

// Every reply until the first failure, as codes and lines, with that failure's message last.
std::vector<std::string> Replies(std::string_view bytes, std::size_t cut) {
    CutStream stream(bytes, cut);
    ReplyReader reader("fuzz.example:25");
    std::vector<std::string> read;
    for (;;) {
        const Result<Reply> reply = reader.Read(stream, TimePoint::max());
        if (!reply) {
            read.push_back("failure: " + reply.message());
            return read;
        }
        Promise(reply->code >= 0 && reply->code <= 999, "a code has three digits");
        Promise(!reply->lines.empty() && reply->lines.size() <= 200, "a reply has from 1 to 200 lines");
        for (const std::string& line : reply->lines)
            Promise(line.size() <= 4096 && line.find('\n') == std::string::npos, "a line is one short line");
        (void)ExtensionsOf(*reply);
        read.push_back(reply->Text());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t cut = data[0] % 16 + 1;  // the first byte picks how the rest is cut
    const std::string_view bytes = quilvane::fuzz::Text(data + 1, size - 1);
    Promise(Replies(bytes, cut) == Replies(bytes, std::max<std::size_t>(bytes.size(), 1)),
            "the replies read do not depend on how the bytes arrive");
    return 0;
}
