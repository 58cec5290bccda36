#pragma once
// Sending through the platform's messaging component: a "CDO.Message" object driven by
// member names, with the window's fields exactly as typed (the server as ParseServerField
// read it, `host`), port 25 and clear-text login, every attachment in list order, then one
// send. Windows only.

#include <oaidl.h>

#include "submission.h"

namespace quilvane::mail {

Status SendThroughCdo(IDispatch& message, const MailRequest& request, const std::string& host);

}  // namespace quilvane::mail
