#include "process.h"

#include <cerrno>
#include <csignal>
#include <limits>
#include <unistd.h>

namespace quilvane {

std::uint32_t ThisProcessId() { return static_cast<std::uint32_t>(::getpid()); }

// A process that exists but is another user's answers EPERM.
// A number beyond pid_t would reach kill() as a process group.
bool ProcessIsRunning(std::uint32_t id) {
    if (id == 0 || id > static_cast<std::uint32_t>(std::numeric_limits<pid_t>::max())) return false;
    return ::kill(static_cast<pid_t>(id), 0) == 0 || errno == EPERM;
}

}  // namespace quilvane
