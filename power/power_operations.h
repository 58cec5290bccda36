#pragma once
// The platform's power and privilege calls, one member for each call a power action makes,
// so every action can be followed call by call. The program itself installs the system's
// calls; test programs cannot link them and use a recording stand-in instead.
// Handles are opaque numbers here, so the actions build and are tested without <windows.h>.

#include <cstdint>
#include <optional>
#include <string>

namespace quilvane::power {

using Handle = std::uintptr_t;  // a process, token or window handle

// The request record of a privilege adjustment: one privilege with its attributes.
struct PrivilegeRequest {
    std::uint32_t count = 1;
    std::uint64_t luid = 0;  // the privilege's locally unique identifier
    std::uint32_t attributes = 0;
};

class PowerOperations {
public:
    virtual ~PowerOperations() = default;

    // The pseudo-handle of the own process.
    virtual Handle CurrentProcess() = 0;
    // The process's access token opened with `access`; 0 when it is refused.
    virtual Handle OpenProcessToken(Handle process, std::uint32_t access) = 0;
    virtual void CloseHandle(Handle handle) = 0;
    // The computer's name when it fits a buffer of `bufferChars` characters with its
    // terminator; nothing otherwise.
    virtual std::optional<std::string> ComputerName(std::uint32_t bufferChars) = 0;
    // The identifier of `privilege` on the system called `systemName` ("" is the local one);
    // 0 when it is unknown.
    virtual std::uint64_t PrivilegeValue(const std::string& systemName, const std::string& privilege) = 0;
    // Adjusts the token's privileges; `previousStateLength` is the size of the record that
    // receives the previous state, which nobody reads.
    virtual void AdjustTokenPrivileges(Handle token, bool disableAll, const PrivilegeRequest& request,
                                       std::uint32_t previousStateLength) = 0;
    // Starts a log-off (flags 0), shutdown (1) or restart (2); returns at once.
    virtual void ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved) = 0;
    virtual void SetSuspendState(bool hibernate, bool force, bool wakeEventsDisabled) = 0;
    virtual void SetSystemPowerState(bool suspend, bool force) = 0;
    virtual void SendWindowMessage(Handle window, std::uint32_t message, std::uintptr_t wParam,
                                   std::intptr_t lParam) = 0;
    // The native privilege switch, for the process token unless `currentThread`.
    virtual void RtlAdjustPrivilege(std::uint32_t privilege, bool enable, bool currentThread) = 0;
    // The native shutdown: 0 powers off, 1 restarts. Does not come back when it succeeds.
    virtual void NtShutdownSystem(std::uint32_t action) = 0;
};

// What the program performs its power actions with: the system's own calls in the program,
// calls that do nothing in any program that installed none (every test program).
PowerOperations& InstalledPowerOperations();
void InstallPowerOperations(PowerOperations& operations);

}  // namespace quilvane::power
