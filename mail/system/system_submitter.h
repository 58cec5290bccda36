#pragma once
// The program's way of sending from the e-mail window (see system_route.h): the platform's
// messaging component or the program's own client. It reaches real mail servers, so no test
// program links it. Windows only.

#include "mail_submitter.h"

namespace quilvane::mail {

class SystemSubmitter final : public MailSubmitter {
public:
    Status Submit(const MailRequest& request, const PlainLoginConsent& allowPlainLogin) override;
};

}  // namespace quilvane::mail
