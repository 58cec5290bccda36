#include "power_operations.h"

#include "installed.h"

namespace quilvane::power {
namespace {

// Stands where no system calls were installed: every action quietly does nothing.
class NoPowerOperations final : public PowerOperations {
public:
    Handle CurrentProcess() override { return 0; }
    Handle OpenProcessToken(Handle, std::uint32_t) override { return 0; }
    void CloseHandle(Handle) override {}
    std::optional<std::string> ComputerName(std::uint32_t) override { return std::nullopt; }
    std::uint64_t PrivilegeValue(const std::string&, const std::string&) override { return 0; }
    void AdjustTokenPrivileges(Handle, bool, const PrivilegeRequest&, std::uint32_t) override {}
    void ExitWindowsEx(std::uint32_t, std::uint32_t) override {}
    void SetSuspendState(bool, bool, bool) override {}
    void SetSystemPowerState(bool, bool) override {}
    void SendWindowMessage(Handle, std::uint32_t, std::uintptr_t, std::intptr_t) override {}
    void RtlAdjustPrivilege(std::uint32_t, bool, bool) override {}
    void NtShutdownSystem(std::uint32_t) override {}
};

PowerOperations& NoOperations() {
    static NoPowerOperations nothing;
    return nothing;
}

using InstalledOperations = Installed<PowerOperations, NoOperations>;

}  // namespace

PowerOperations& InstalledPowerOperations() { return InstalledOperations::Get(); }

void InstallPowerOperations(PowerOperations& operations) { InstalledOperations::Install(operations); }

}  // namespace quilvane::power
