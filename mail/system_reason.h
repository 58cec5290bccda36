#pragma once
// The system's own wording for an error code of the Windows socket, security and
// certificate functions, without the trailing full stop; the code in hex where the system
// has no text for it. Windows builds only.

#include <string>

namespace quilvane::mail {

std::string SystemReason(unsigned long code);

}  // namespace quilvane::mail
