#pragma once
// One SMTP submission: connect, greet (EHLO, else HELO), encrypt where the server offers it
// or the user asks for it, check the message against the size the server takes, log in
// (AUTH PLAIN, else AUTH LOGIN), hand over the envelope and the message, say goodbye. The
// first failure ends it, with a message that says what the server or the system answered.
// The password never crosses an unencrypted connection unless the user allowed it.

#include <functional>
#include <string>
#include <vector>

#include "clock.h"
#include "server_address.h"
#include "status.h"
#include "tls.h"

namespace quilvane::mail {

enum class TlsPolicy {
    Automatic,  // STARTTLS when the server offers it; TLS from the first byte on port 465
    StartTls,   // STARTTLS or nothing
    Implicit,   // TLS from the first byte, on any port
};

// Whether the connection is encrypted from its first byte.
bool UsesImplicitTls(TlsPolicy policy, std::uint16_t port);

// Asked at most once per submission, when a password would cross a connection the server
// cannot encrypt; `server` names it as "host:port". The password goes only on true.
using PlainLoginConsent = std::function<bool(const std::string& server)>;

struct Route {
    ServerAddress server;
    TlsPolicy tls = TlsPolicy::Automatic;
    TlsTrust trust;
    Patience patience;
    PlainLoginConsent allowPlainLogin;  // empty: never in clear
};

struct Account {
    std::string user;  // empty: no login
    std::string password;
};

struct Envelope {
    std::string sender;  // bare addresses
    std::vector<std::string> recipients;
};

// The message, measured before it is written, so that one the server would refuse is
// refused before its attachments are read.
class OutgoingMessage {
public:
    virtual ~OutgoingMessage() = default;
    // Fails with the reason for the user when the message is larger than `serverLimit`
    // bytes (0: the server names no limit).
    virtual Status FitsWithin(unsigned long long serverLimit) const = 0;
    // The whole message with CR LF line ends, no larger than measured; called once.
    virtual Result<std::string> Write() = 0;
};

// Dots at the start of a line of the message are doubled on the way.
Status SendThroughSmtp(const Route& route, const Account& account, const Envelope& envelope, OutgoingMessage& message);

}  // namespace quilvane::mail
