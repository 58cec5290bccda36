#pragma once
// The system's own wording for an error code of a Windows function (files, sockets, security,
// certificates, COM), without the trailing full stop; the code in hex where the system has no
// text for it. Windows builds only.

#include <string>

namespace quilvane {

std::string SystemReason(unsigned long code);

}  // namespace quilvane
