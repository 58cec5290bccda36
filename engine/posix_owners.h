#pragma once
// The owner of a file descriptor. POSIX only: included by the _posix.cpp files.

#include <unistd.h>

#include "owned.h"

namespace quilvane {

inline void CloseDescriptor(int fd) { ::close(fd); }

using UniqueFd = Owned<int, CloseDescriptor, -1>;

}  // namespace quilvane
