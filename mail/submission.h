#pragma once
// One e-mail from what the user filled in, through the program's own SMTP client. Every
// attachment is measured before the server is contacted, so a file that is missing or too
// large sends nothing at all; the files are read once the server has said it takes a
// message of that size.

#include <string>
#include <vector>

#include "smtp_client.h"

namespace quilvane::mail {

struct MailRequest {
    std::string to;  // one or more addresses separated by "," or ";"
    std::string from;
    std::string user;  // empty: no login
    std::string password;
    std::string server;  // "host" or "host:port"
    std::string subject;
    std::string body;
    std::vector<std::string> attachments;  // paths, in the order they go
};

struct SubmitOptions {
    TlsPolicy tls = TlsPolicy::Automatic;
    TlsTrust trust;
    Patience patience;
    PlainLoginConsent allowPlainLogin;  // empty: the password never crosses in clear
};

// Fails with the reason for the user: a field left empty, an address that cannot be used,
// an attachment that cannot be read, or what the server or the network answered.
Status SubmitMail(const MailRequest& request, const SubmitOptions& options = {});
// The same, with the server field as ParseServerField read it, for a caller that decides by
// the field where the message goes.
Status SubmitMail(const MailRequest& request, const Result<ServerAddress>& server, const SubmitOptions& options);

}  // namespace quilvane::mail
