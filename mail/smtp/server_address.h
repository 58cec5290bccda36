#pragma once
// The SMTP server as the user types it: a host name or address, optionally followed by
// ":port" (port 25 otherwise); an IPv6 address with a port is written in brackets.

#include <cstdint>
#include <string>
#include <string_view>

#include "status.h"

namespace quilvane::mail {

inline constexpr std::uint16_t kSubmissionPort = 25;
inline constexpr std::uint16_t kImplicitTlsPort = 465;

struct ServerAddress {
    std::string host;
    std::uint16_t port = kSubmissionPort;
    bool portGiven = false;
};

// Blanks around the field are ignored. Fails for an empty field or a port that is no number
// from 1 to 65535.
Result<ServerAddress> ParseServerField(std::string_view field);

// "host:port" as messages name the server, with an IPv6 address in brackets.
std::string ServerLabel(const std::string& host, std::uint16_t port);

}  // namespace quilvane::mail
