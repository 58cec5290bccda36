#pragma once
// Checking a descriptor's pieces against their checksum list without writing anything.

#include <string>

#include "stop_flag.h"
#include "task.h"

namespace quilvane {

// Done when every piece is intact (one Success notice, texts::kAllPiecesIntact); Failed with one
// Failure notice for each piece that is missing, of the wrong length or not what the list says,
// in the pieces' order, or with the one reason the pieces cannot be checked at all (no
// descriptor, one that cannot be read, no list or one that cannot be used, a busy folder);
// Stopped once `stop` is requested. A dead run's moves rolled back in the pieces' folder come
// first, as an Info notice. Each piece is read once.
TaskResult VerifyPieces(const std::string& descriptorPath, const StopFlag& stop);

}  // namespace quilvane
