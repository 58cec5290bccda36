#pragma once
// Encryption over an open connection: the system's TLS (SChannel on Windows, OpenSSL on
// Linux). The server's certificate must chain to a trusted root (the system's, or one of
// the PEM roots in `caFile`) and name `hostName`; otherwise the handshake fails with
// "服务器证书不可信" or "证书与服务器名称不符" and the system's reason.

#include <memory>
#include <string>

#include "byte_stream.h"

namespace quilvane::mail {

struct TlsTrust {
    std::string caFile;  // PEM roots trusted besides the system's; empty for none
};

// The encrypted stream talks through `transport`, which must outlive it. The handshake must
// be done by `deadline`.
Result<std::unique_ptr<ByteStream>> StartTls(ByteStream& transport, const std::string& hostName, const TlsTrust& trust,
                                             TimePoint deadline);

}  // namespace quilvane::mail
