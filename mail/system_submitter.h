#pragma once
// The program's way of sending from the e-mail window: through the platform's messaging
// component ("CDO.Message") where it is installed and the server field names no port of its
// own (the component is always told port 25), otherwise through the program's own client.
// It reaches real mail servers, so no test program links it. Windows only.

#include "mail_submitter.h"

namespace quilvane::mail {

class SystemSubmitter final : public MailSubmitter {
public:
    Status Submit(const MailRequest& request) override;
};

}  // namespace quilvane::mail
