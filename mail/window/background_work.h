#pragma once
// Runs a piece of work on a worker thread while the calling (user-interface) thread keeps
// its windows answering, and returns the work's result once it is done; whatever the work
// throws comes back as a failure. The work may ask the caller's windows something with
// SendMessage: it is answered on their thread. Windows only.

#include <functional>

#include "status.h"

namespace quilvane::mail {

Status RunWhileMessagesFlow(std::function<Status()> work);

}  // namespace quilvane::mail
