#pragma once
// Which way the e-mail window's message goes: through the platform's messaging component
// where it is installed and the server field names no port of its own (the component is
// always told port 25), otherwise through the program's own client. The field is read once,
// so both ways reach the same server. Windows only.

#include <oaidl.h>

#include <functional>

#include "submission.h"

namespace quilvane::mail {

// `createMessage` gives the component's message object, or null where it is not installed;
// it is called only when the component is to send.
Status SubmitThroughSystem(const MailRequest& request, const std::function<IDispatch*()>& createMessage,
                           const SubmitOptions& options);

}  // namespace quilvane::mail
