#include "process.h"

#include <windows.h>

namespace quilvane {

std::uint32_t ThisProcessId() { return GetCurrentProcessId(); }

bool ProcessIsRunning(std::uint32_t id) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    if (!process) return GetLastError() == ERROR_ACCESS_DENIED;
    DWORD code = 0;
    const bool running = GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
    CloseHandle(process);
    return running;
}

}  // namespace quilvane
