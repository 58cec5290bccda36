#pragma once
// Checking a descriptor's pieces against their checksum list without writing anything.

#include <string>
#include <vector>

#include "status.h"
#include "task.h"

namespace quilvane {

// Every piece that is missing, of the wrong length or not what the list says, one message
// each; none when all are intact. Each piece is read once. Fails when the pieces cannot be
// checked at all: an unreadable descriptor, no list or one that cannot be used, a busy folder.
// `host` hears only of a dead run's moves rolled back in the pieces' folder.
Result<std::vector<std::string>> VerifyPieces(const std::string& descriptorPath, TaskHost& host);

}  // namespace quilvane
