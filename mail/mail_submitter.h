#pragma once
// What the e-mail window sends through. Submit runs on a worker thread while the window
// keeps answering; the program sends through SystemSubmitter, tests through stand-ins or
// the program's own client against their local servers.

#include "submission.h"

namespace quilvane::mail {

class MailSubmitter {
public:
    virtual ~MailSubmitter() = default;
    // `allowPlainLogin` is asked, on the sending thread, before a password would cross a
    // connection the server cannot encrypt.
    virtual Status Submit(const MailRequest& request, const PlainLoginConsent& allowPlainLogin) = 0;
};

// The program's own SMTP client: STARTTLS where the server offers it, TLS from the first
// byte on port 465, certificates checked against the system's roots.
class OwnClientSubmitter final : public MailSubmitter {
public:
    explicit OwnClientSubmitter(SubmitOptions options = {}) : options_(std::move(options)) {}
    Status Submit(const MailRequest& request, const PlainLoginConsent& allowPlainLogin) override {
        SubmitOptions options = options_;
        options.allowPlainLogin = allowPlainLogin;
        return SubmitMail(request, options);
    }

private:
    SubmitOptions options_;
};

}  // namespace quilvane::mail
