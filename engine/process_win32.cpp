#include "process.h"

#include <windows.h>

#include "win32_owners.h"

namespace quilvane {

std::uint32_t ThisProcessId() { return GetCurrentProcessId(); }

bool ProcessIsRunning(std::uint32_t id) {
    const UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
    if (!process) return GetLastError() == ERROR_ACCESS_DENIED;
    DWORD code = 0;
    return GetExitCodeProcess(process.get(), &code) && code == STILL_ACTIVE;
}

}  // namespace quilvane
