#include "power_actions.h"

namespace quilvane::power {
namespace {

constexpr std::uint32_t kTokenAdjustPrivilegesAndQuery = 0x28;
constexpr std::uint32_t kPrivilegeEnabled = 2;
constexpr std::uint32_t kPrivilegeRecordLength = 16;  // the count, then one 12-byte entry
constexpr std::uint32_t kComputerNameBuffer = 15;
constexpr std::uint32_t kShutdownPrivilegeNumber = 19;
constexpr std::uint32_t kSysCommand = 0x0112;
constexpr std::uintptr_t kMonitorPower = 0xF170;
constexpr std::intptr_t kMonitorOff = 2;

enum ExitCode : short { kLogOff = 0, kShutDown = 1, kRestart = 2, kSleep = 3, kHibernate = 4 };
enum NativeShutdown : std::int32_t { kPowerOff = 0, kReboot = 1 };

// A handle the power calls opened, closed through them once at the end of the scope, so
// an action leaves no handle open however it goes.
class ScopedHandle {
public:
    ScopedHandle(PowerOperations& system, Handle handle) : system_(system), handle_(handle) {}
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    ~ScopedHandle() {
        if (handle_) system_.CloseHandle(handle_);
    }
    Handle get() const { return handle_; }

private:
    PowerOperations& system_;
    Handle handle_;
};

void EnableShutdownPrivilege(PowerOperations& system) {
    const ScopedHandle token(system, system.OpenProcessToken(system.CurrentProcess(), kTokenAdjustPrivilegesAndQuery));
    PrivilegeRequest request;
    request.luid = system.PrivilegeValue(LocalComputerName(system), "SeShutdownPrivilege");
    request.attributes = kPrivilegeEnabled;
    system.AdjustTokenPrivileges(token.get(), false, request, kPrivilegeRecordLength);
}

}  // namespace

void PerformPowerAction(short index, Handle window, PowerOperations& system) {
    // Compared unsigned, so -1 falls through to the last row with every other stray position.
    switch (static_cast<unsigned short>(index)) {
    case 0: return ExitWithPrivilege(kShutDown, system);
    case 1: return ExitWithPrivilege(kRestart, system);
    case 2: return ExitWithPrivilege(kLogOff, system);
    case 3: return ExitWithPrivilege(kSleep, system);
    case 4: return ExitWithPrivilege(kHibernate, system);
    case 5: return SendSysCommand(window, kMonitorPower, kMonitorOff, system);
    case 6: return FastShutdown(kPowerOff, system);
    default: return FastShutdown(kReboot, system);
    }
}

void ExitWithPrivilege(short code, PowerOperations& system) {
    EnableShutdownPrivilege(system);
    switch (code) {
    case kLogOff:
    case kShutDown:
    case kRestart: return system.ExitWindowsEx(static_cast<std::uint32_t>(code), 0);
    case kSleep: return system.SetSuspendState(false, false, false);
    case kHibernate: return system.SetSystemPowerState(false, true);
    default: return;
    }
}

void FastShutdown(std::int32_t action, PowerOperations& system) {
    system.RtlAdjustPrivilege(kShutdownPrivilegeNumber, true, false);
    system.NtShutdownSystem(static_cast<std::uint32_t>(action));
}

void SendSysCommand(Handle window, std::uintptr_t wParam, std::intptr_t lParam, PowerOperations& system) {
    system.SendWindowMessage(window, kSysCommand, wParam, lParam);
}

std::string LocalComputerName(PowerOperations& system) { return system.ComputerName(kComputerNameBuffer).value_or(""); }

}  // namespace quilvane::power
