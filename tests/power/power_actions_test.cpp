// Each power action, followed call by call through the recording stand-in.

#include "power_actions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "recording_power.h"

namespace quilvane::power::testing {
namespace {

using Calls = std::vector<std::string>;

constexpr Handle kWindow = 0x1234;

// The privilege steps that come before every exit code.
Calls PrivilegeSteps(const std::string& systemName = "QUILVANE-PC") {
    return {"CurrentProcess()",
            "OpenProcessToken(" + RecordingPower::Hex(kOwnProcess) + ", 0x28)",
            "ComputerName(15)",
            "PrivilegeValue(\"" + systemName + "\", \"SeShutdownPrivilege\")",
            "AdjustTokenPrivileges(0x7c, false, 1 x {0x13, 2}, 16)",
            "CloseHandle(0x7c)"};
}

Calls Then(Calls first, const Calls& next) {
    first.insert(first.end(), next.begin(), next.end());
    return first;
}

Calls ActionCalls(short index) {
    RecordingPower system;
    PerformPowerAction(index, kWindow, system);
    return system.calls;
}

TEST(PowerActions, EachListPositionMakesItsOwnCallsAfterThePrivilegeSteps) {
    EXPECT_EQ(ActionCalls(0), Then(PrivilegeSteps(), {"ExitWindowsEx(1, 0)"}));
    EXPECT_EQ(ActionCalls(1), Then(PrivilegeSteps(), {"ExitWindowsEx(2, 0)"}));
    EXPECT_EQ(ActionCalls(2), Then(PrivilegeSteps(), {"ExitWindowsEx(0, 0)"}));
    EXPECT_EQ(ActionCalls(3), Then(PrivilegeSteps(), {"SetSuspendState(false, false, false)"}));
    EXPECT_EQ(ActionCalls(4), Then(PrivilegeSteps(), {"SetSystemPowerState(false, true)"}));
}

TEST(PowerActions, DisplayOffIsOneSystemCommandToTheWindowAndNothingElse) {
    EXPECT_EQ(ActionCalls(5), (Calls{"SendWindowMessage(0x1234, 0x112, 0xf170, 2)"}));
}

TEST(PowerActions, FastActionsGoNativeAndEveryStrayPositionIsTheFastRestart) {
    const Calls restart{"RtlAdjustPrivilege(19, true, false)", "NtShutdownSystem(1)"};
    EXPECT_EQ(ActionCalls(6), (Calls{"RtlAdjustPrivilege(19, true, false)", "NtShutdownSystem(0)"}));
    EXPECT_EQ(ActionCalls(7), restart);
    EXPECT_EQ(ActionCalls(-1), restart);
    EXPECT_EQ(ActionCalls(8), restart);
    EXPECT_EQ(ActionCalls(32767), restart);
    EXPECT_EQ(ActionCalls(-32768), restart);
}

TEST(PowerActions, AnUnknownExitCodeOnlyAdjustsThePrivilege) {
    for (short code : {short{5}, short{-1}, short{100}}) {
        RecordingPower system;
        ExitWithPrivilege(code, system);
        EXPECT_EQ(system.calls, PrivilegeSteps()) << code;
    }
}

TEST(PowerActions, ATooLongComputerNameLooksThePrivilegeUpOnTheLocalSystem) {
    RecordingPower system;
    system.computerName.reset();  // a 15-character name needs 16 with its terminator
    EXPECT_EQ(LocalComputerName(system), "");
    system.calls.clear();
    ExitWithPrivilege(1, system);
    EXPECT_EQ(system.calls, Then(PrivilegeSteps(""), {"ExitWindowsEx(1, 0)"}));
}

TEST(PowerActions, ARefusedTokenIsNotClosedAndTheActionStillStarts) {
    RecordingPower system;
    system.token = 0;
    ExitWithPrivilege(2, system);
    ASSERT_EQ(system.calls.size(), 6u);
    EXPECT_EQ(system.calls[4], "AdjustTokenPrivileges(0x0, false, 1 x {0x13, 2}, 16)");
    EXPECT_EQ(system.calls[5], "ExitWindowsEx(2, 0)");
}

TEST(PowerActions, NothingIsCalledWhereNoSystemCallsWereInstalled) {
    // Test programs never link the system's calls, so this is what a window here reaches.
    PowerOperations& installed = InstalledPowerOperations();
    EXPECT_EQ(installed.CurrentProcess(), 0u);
    EXPECT_EQ(installed.OpenProcessToken(kOwnProcess, 0x28), 0u);
    EXPECT_FALSE(installed.ComputerName(15).has_value());
}

}  // namespace
}  // namespace quilvane::power::testing
