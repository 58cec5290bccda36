#pragma once
// The eight power actions of the scheduler's list, performed through the platform's power
// calls. Every action is fire-and-forget: no result is looked at and nothing is reported.

#include <cstdint>
#include <string>

#include "power_operations.h"

namespace quilvane::power {

// By position in the list: 0 shut down, 1 restart, 2 log off, 3 sleep, 4 hibernate,
// 5 display off (a system command to `window`), 6 fast shutdown, 7 fast restart. Any other
// position, -1 (nothing selected) among them, is the fast restart as well.
void PerformPowerAction(short index, Handle window, PowerOperations& system);

// Enables the shutdown privilege on the process token, then performs the exit code: 0 log
// off, 1 shut down, 2 restart (without forcing programs to close), 3 sleep, 4 hibernate.
// Any other code performs nothing after the privilege step.
void ExitWithPrivilege(short code, PowerOperations& system);

// Enables the shutdown privilege natively and shuts the system down without asking programs
// to close: action 0 powers off, 1 restarts.
void FastShutdown(std::int32_t action, PowerOperations& system);

// WM_SYSCOMMAND to `window` with the given parameters.
void SendSysCommand(Handle window, std::uintptr_t wParam, std::intptr_t lParam, PowerOperations& system);

// The computer's name as the privilege lookup takes it: "" (which names the local system as
// well) when the name does not fit 15 characters with its terminator.
std::string LocalComputerName(PowerOperations& system);

}  // namespace quilvane::power
