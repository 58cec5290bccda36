#include "interruption.h"

#include <windows.h>

namespace quilvane {
namespace {

// Runs on a thread of its own while the task goes on.
BOOL WINAPI OnConsoleEvent(DWORD event) {
    const bool again = ProcessInterrupt().Requested();
    ProcessInterrupt().Request();
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) return again && !InUninterruptibleStep() ? FALSE : TRUE;
    // The console is closing or the session ending: the system ends the program as soon as this
    // returns, so it waits until the task has cleaned up and the program has ended itself.
    Sleep(INFINITE);
    return TRUE;
}

}  // namespace

void InstallInterruptHandlers() { SetConsoleCtrlHandler(OnConsoleEvent, TRUE); }

void EndAsInterrupted() { ExitProcess(STATUS_CONTROL_C_EXIT); }

}  // namespace quilvane
