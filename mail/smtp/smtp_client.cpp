#include "smtp_client.h"

#include <memory>

#include "mail_texts.h"
#include "mime_encoding.h"
#include "smtp_reply.h"
#include "socket.h"

namespace quilvane::mail {
namespace {

constexpr std::size_t kDataChunk = 256 * 1024;

// Appends the stuffed form of `message` from `at`, up to about `limit` bytes; returns
// where it stopped.
std::size_t AppendStuffed(std::string& out, std::string_view message, std::size_t at, std::size_t limit) {
    const std::size_t stop = std::min(message.size(), at + limit);
    for (; at < stop; ++at) {
        if (message[at] == '.' && (at == 0 || message[at - 1] == '\n')) out += '.';
        out += message[at];
    }
    return at;
}

class Dialogue {
public:
    Dialogue(const Route& route, Socket socket)
        : route_(route), socket_(std::move(socket)), replies_(socket_.label()) {}

    Status Run(const Account& account, const Envelope& envelope, OutgoingMessage& message) {
        const bool implicit = UsesImplicitTls(route_.tls, route_.server.port);
        if (implicit)
            if (Status encrypted = Encrypt(); !encrypted) return encrypted;
        Result<Reply> greeting = replies_.Read(stream(), route_.patience.DeadlineFromNow());
        if (!greeting) return greeting.status();
        if (!greeting->Is(220)) return Refused(texts::GreetingRefused(greeting->Text()));

        Result<Extensions> offered = Hello();
        if (!offered) return offered.status();
        if (!implicit && offered->startTls) {
            Result<Reply> ready = Command("STARTTLS");
            if (!ready) return ready.status();
            if (!ready->Is(220)) return Refused(texts::StartTlsRefused(ready->Text()));
            replies_.DropBuffered();
            if (Status encrypted = Encrypt(); !encrypted) return encrypted;
            offered = Hello();  // the server may offer more once the line is private
            if (!offered) return offered.status();
        } else if (!implicit && route_.tls == TlsPolicy::StartTls) {
            return Refused(texts::StartTlsMissing(socket_.label()));
        }
        // A message the server will not take is not read, let alone sent, in vain.
        if (Status fits = message.FitsWithin(offered->sizeLimit); !fits) return Refused(fits.message());
        if (!account.user.empty()) {
            if (!tls_ && !MayLogInInClear()) return Refused(texts::StartTlsMissing(socket_.label()));
            if (Status loggedIn = LogIn(account, *offered); !loggedIn) return loggedIn;
        }
        Result<std::string> written = message.Write();
        if (!written) return Refused(written.message());
        if (Status handed = HandOver(envelope, *written); !handed) return handed;
        // The message is the server's now; how the goodbye goes changes nothing.
        (void)Command("QUIT");
        return Status::Ok();
    }

private:
    ByteStream& stream() { return tls_ ? *tls_ : static_cast<ByteStream&>(socket_); }

    bool MayLogInInClear() const { return route_.allowPlainLogin && route_.allowPlainLogin(socket_.label()); }

    Status Encrypt() {
        Result<std::unique_ptr<ByteStream>> encrypted =
            StartTls(socket_, route_.server.host, route_.trust, route_.patience.DeadlineFromNow());
        if (!encrypted) return encrypted.status();
        tls_ = std::move(*encrypted);
        return Status::Ok();
    }

    Result<Reply> Command(std::string_view line) {
        if (Status sent = stream().SendAll(std::string(line) + "\r\n"); !sent) return sent;
        return replies_.Read(stream(), route_.patience.DeadlineFromNow());
    }

    // A refusal ends the session politely; the answer to the goodbye is not awaited.
    Status Refused(std::string message) {
        (void)stream().SendAll("QUIT\r\n");
        return Status::Fail(std::move(message));
    }

    Result<Extensions> Hello() {
        const std::string self = socket_.LocalAddressLiteral();
        Result<Reply> ehlo = Command("EHLO " + self);
        if (!ehlo) return ehlo.status();
        if (ehlo->Is(250)) return ExtensionsOf(*ehlo);
        // A server that does not know EHLO says so with a 5xx code; it may still know HELO.
        if (ehlo->code < 500) return Refused(texts::HelloRefused(ehlo->Text()));
        Result<Reply> helo = Command("HELO " + self);
        if (!helo) return helo.status();
        if (!helo->Is(250)) return Refused(texts::HelloRefused(helo->Text()));
        return Extensions{};
    }

    Status LogIn(const Account& account, const Extensions& offered) {
        Result<Reply> answer = Status::Ok();
        if (offered.authPlain) {
            answer = Command("AUTH PLAIN " + Base64(std::string(1, '\0') + account.user + '\0' + account.password));
        } else if (offered.authLogin) {
            answer = Command("AUTH LOGIN");
            for (const std::string* secret : {&account.user, &account.password}) {
                if (!answer || !answer->Is(334)) break;
                answer = Command(Base64(*secret));
            }
        } else {
            return Refused(texts::kNoLoginMethod);
        }
        if (!answer) return answer.status();
        if (answer->Is(235)) return Status::Ok();
        if (answer->Is(535)) return Refused(texts::CredentialsRefused(answer->Text()));
        return Refused(texts::LoginRefused(answer->Text()));
    }

    Status HandOver(const Envelope& envelope, std::string_view message) {
        Result<Reply> accepted = Command("MAIL FROM:<" + envelope.sender + ">");
        if (!accepted) return accepted.status();
        if (!accepted->Is(250)) return Refused(texts::SenderRefused(envelope.sender, accepted->Text()));
        for (const std::string& recipient : envelope.recipients) {
            accepted = Command("RCPT TO:<" + recipient + ">");
            if (!accepted) return accepted.status();
            if (!accepted->Is(250) && !accepted->Is(251))
                return Refused(texts::RecipientRefused(recipient, accepted->Text()));
        }
        accepted = Command("DATA");
        if (!accepted) return accepted.status();
        if (!accepted->Is(354)) return Refused(texts::MessageRefused(accepted->Text()));
        std::string chunk;
        for (std::size_t at = 0; at < message.size();) {
            chunk.clear();
            at = AppendStuffed(chunk, message, at, kDataChunk);
            if (Status sent = stream().SendAll(chunk); !sent) return sent;
        }
        const bool endsWithLineBreak = message.size() >= 2 && message.substr(message.size() - 2) == "\r\n";
        accepted = Command(endsWithLineBreak ? "." : "\r\n.");
        if (!accepted) return accepted.status();
        if (!accepted->Is(250)) return Refused(texts::MessageRefused(accepted->Text()));
        return Status::Ok();
    }

    const Route& route_;
    Socket socket_;
    std::unique_ptr<ByteStream> tls_;  // declared after the socket it talks through
    ReplyReader replies_;
};

}  // namespace

bool UsesImplicitTls(TlsPolicy policy, std::uint16_t port) {
    return policy == TlsPolicy::Implicit || (policy == TlsPolicy::Automatic && port == kImplicitTlsPort);
}

Status SendThroughSmtp(const Route& route, const Account& account, const Envelope& envelope, OutgoingMessage& message) {
    Result<Socket> socket = Socket::Connect(route.server.host, route.server.port, route.patience);
    if (!socket) return socket.status();
    Dialogue dialogue(route, std::move(*socket));
    return dialogue.Run(account, envelope, message);
}

}  // namespace quilvane::mail
