#pragma once
// A connection to the server as the mail dialogue uses it: bytes out, bytes in, each wait
// bounded by the connection's patience. The plain socket and the encrypted layer over it
// both offer this, so the dialogue does not care which one it talks through.

#include <string>
#include <string_view>

#include "status.h"

namespace quilvane::mail {

class ByteStream {
public:
    virtual ~ByteStream() = default;
    // Sends every byte, or fails with a message for the user.
    virtual Status SendAll(std::string_view bytes) = 0;
    // Returns at least one byte; a connection closed by the server is a failure too.
    virtual Result<std::string> ReceiveSome() = 0;
};

}  // namespace quilvane::mail
