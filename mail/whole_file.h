#pragma once
// A file's whole content, for the small and middle-sized files mail deals in (attachments,
// a body, a certificate file); the failure names the file and the system's reason.

#include <string>

#include "status.h"

namespace quilvane::mail {

Result<std::string> ReadWholeFile(const std::string& path);

}  // namespace quilvane::mail
