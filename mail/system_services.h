#pragma once
// What the e-mail window uses in the program itself: the system's way of sending and the
// current user's protection of the password. Windows only; no test program links it.

#include "emlssea.h"

namespace quilvane::mail {

// One for the whole run, so the user hears only once that a password cannot be protected.
MailServices& SystemMailServices();

}  // namespace quilvane::mail
