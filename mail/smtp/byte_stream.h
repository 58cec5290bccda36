#pragma once
// A connection to the server as the mail dialogue uses it: bytes out, bytes in, every wait
// bounded: a send by the connection's patience for each step forward, a receive by the
// caller's deadline (one for a whole reply, however slowly its bytes come). The plain socket and the encrypted layer
// over it both offer this, so the dialogue does not care which one it talks through.

#include <string>
#include <string_view>

#include "clock.h"
#include "status.h"

namespace quilvane::mail {

class ByteStream {
public:
    virtual ~ByteStream() = default;
    // Sends every byte, or fails with a message for the user.
    virtual Status SendAll(std::string_view bytes) = 0;
    // Returns at least one byte by `deadline`; a connection closed by the server is a failure too.
    virtual Result<std::string> ReceiveSome(TimePoint deadline) = 0;
};

}  // namespace quilvane::mail
