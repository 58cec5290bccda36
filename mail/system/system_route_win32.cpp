#include "system_route.h"

#include "cdo_message.h"
#include "late_binding.h"

namespace quilvane::mail {

Status SubmitThroughSystem(const MailRequest& request, const std::function<IDispatch*()>& createMessage,
                           const SubmitOptions& options) {
    const Result<ServerAddress> server = ParseServerField(request.server);
    if (server && !server->portGiven)
        if (HeldObject message{createMessage()}) return SendThroughCdo(*message.get(), request, server->host);
    return SubmitMail(request, server, options);
}

}  // namespace quilvane::mail
