#pragma once
// A file's whole content in memory, for the files that are read whole: a descriptor, a mail
// attachment or body, a certificate file, a picture, a script. A file longer than the caller's
// limit, or than this process can address, is refused before a byte is read, with a message
// that names the file and its size; a 32-bit process never reads a cut-down copy.

#include <cstdint>
#include <string>

#include "status.h"

namespace quilvane {

Result<std::string> ReadWholeFile(const std::string& path, std::uint64_t limit);

}  // namespace quilvane
