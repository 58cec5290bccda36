#pragma once
// Stands in for the system's power calls in every test: each call is written down with its
// arguments, in order, and answered with the values set here. Nothing reaches the system.

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "power_operations.h"

namespace quilvane::power::testing {

inline constexpr Handle kOwnProcess = static_cast<Handle>(-1);

class RecordingPower final : public PowerOperations {
public:
    std::vector<std::string> calls;
    Handle token = 0x7c;  // 0: the token is refused
    std::optional<std::string> computerName = std::string("QUILVANE-PC");
    std::uint64_t shutdownPrivilege = 0x13;
    std::function<void(const std::string& call)> whenCalled;  // runs after each call is written down

    Handle CurrentProcess() override {
        Record("CurrentProcess()");
        return kOwnProcess;
    }
    Handle OpenProcessToken(Handle process, std::uint32_t access) override {
        Record("OpenProcessToken(" + Hex(process) + ", " + Hex(access) + ")");
        return token;
    }
    void CloseHandle(Handle handle) override { Record("CloseHandle(" + Hex(handle) + ")"); }
    std::optional<std::string> ComputerName(std::uint32_t bufferChars) override {
        Record("ComputerName(" + std::to_string(bufferChars) + ")");
        return computerName;
    }
    std::uint64_t PrivilegeValue(const std::string& systemName, const std::string& privilege) override {
        Record("PrivilegeValue(\"" + systemName + "\", \"" + privilege + "\")");
        return privilege == "SeShutdownPrivilege" ? shutdownPrivilege : 0;
    }
    void AdjustTokenPrivileges(Handle tokenHandle, bool disableAll, const PrivilegeRequest& request,
                               std::uint32_t previousStateLength) override {
        Record("AdjustTokenPrivileges(" + Hex(tokenHandle) + ", " + Bool(disableAll) + ", " +
               std::to_string(request.count) + " x {" + Hex(request.luid) + ", " + std::to_string(request.attributes) +
               "}, " + std::to_string(previousStateLength) + ")");
    }
    void ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved) override {
        Record("ExitWindowsEx(" + std::to_string(flags) + ", " + std::to_string(reserved) + ")");
    }
    void SetSuspendState(bool hibernate, bool force, bool wakeEventsDisabled) override {
        Record("SetSuspendState(" + Bool(hibernate) + ", " + Bool(force) + ", " + Bool(wakeEventsDisabled) + ")");
    }
    void SetSystemPowerState(bool suspend, bool force) override {
        Record("SetSystemPowerState(" + Bool(suspend) + ", " + Bool(force) + ")");
    }
    void SendWindowMessage(Handle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override {
        Record("SendWindowMessage(" + Hex(window) + ", " + Hex(message) + ", " + Hex(wParam) + ", " +
               std::to_string(lParam) + ")");
    }
    void RtlAdjustPrivilege(std::uint32_t privilege, bool enable, bool currentThread) override {
        Record("RtlAdjustPrivilege(" + std::to_string(privilege) + ", " + Bool(enable) + ", " + Bool(currentThread) +
               ")");
    }
    void NtShutdownSystem(std::uint32_t action) override { Record("NtShutdownSystem(" + std::to_string(action) + ")"); }

    static std::string Hex(std::uint64_t value) {
        char text[24];
        std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(value));
        return text;
    }

private:
    static std::string Bool(bool value) { return value ? "true" : "false"; }
    void Record(std::string call) {
        calls.push_back(call);
        if (whenCalled) whenCalled(call);
    }
};

}  // namespace quilvane::power::testing
