// The system's own power calls. This file is linked into QuilvaneSplitter.exe alone and
// installs itself there before the program starts; nothing outside it can name these calls,
// so no test program can make the machine shut down, restart, log off or sleep.

#include <windows.h>

#include <cwchar>

#include "owned.h"
#include "power_operations.h"
#include "utf16.h"

namespace quilvane::power {
namespace {

inline void ReleaseLibrary(HMODULE library) { FreeLibrary(library); }
using OwnedLibrary = Owned<HMODULE, ReleaseLibrary>;

// A function of a library found at run time; empty when the library lacks it. Going through
// a plain function pointer type first keeps the cast free of function-type warnings.
template <class Function>
Function ProcAddress(HMODULE module, const char* name) {
    if (!module) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

HANDLE AsHandle(Handle handle) { return reinterpret_cast<HANDLE>(handle); }

class SystemPowerOperations final : public PowerOperations {
public:
    Handle CurrentProcess() override { return reinterpret_cast<Handle>(GetCurrentProcess()); }

    Handle OpenProcessToken(Handle process, std::uint32_t access) override {
        HANDLE token = nullptr;
        if (!::OpenProcessToken(AsHandle(process), access, &token)) return 0;
        return reinterpret_cast<Handle>(token);
    }

    void CloseHandle(Handle handle) override { ::CloseHandle(AsHandle(handle)); }

    std::optional<std::string> ComputerName(std::uint32_t bufferChars) override {
        std::wstring buffer(bufferChars, L'\0');
        DWORD size = bufferChars;
        if (!GetComputerNameW(buffer.data(), &size)) return std::nullopt;
        buffer.resize(wcsnlen(buffer.c_str(), buffer.size()));  // the text before its first NUL
        return Narrow(buffer);
    }

    std::uint64_t PrivilegeValue(const std::string& systemName, const std::string& privilege) override {
        const std::wstring system = Widen(systemName);
        LUID luid{};
        if (!LookupPrivilegeValueW(system.empty() ? nullptr : system.c_str(), Widen(privilege).c_str(), &luid))
            return 0;
        return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(luid.HighPart)) << 32) | luid.LowPart;
    }

    void AdjustTokenPrivileges(Handle token, bool disableAll, const PrivilegeRequest& request,
                               std::uint32_t previousStateLength) override {
        TOKEN_PRIVILEGES wanted{};
        wanted.PrivilegeCount = request.count;
        wanted.Privileges[0].Luid.LowPart = static_cast<DWORD>(request.luid);
        wanted.Privileges[0].Luid.HighPart = static_cast<LONG>(request.luid >> 32);
        wanted.Privileges[0].Attributes = request.attributes;
        TOKEN_PRIVILEGES previous{};
        DWORD returned = 4;
        ::AdjustTokenPrivileges(AsHandle(token), disableAll, &wanted,
                                std::min<DWORD>(previousStateLength, sizeof previous), &previous, &returned);
    }

    void ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved) override { ::ExitWindowsEx(flags, reserved); }

    void SetSuspendState(bool hibernate, bool force, bool wakeEventsDisabled) override {
        // powrprof is loaded only when a sleep is asked for.
        const OwnedLibrary powrprof(LoadLibraryW(L"powrprof.dll"));
        using Suspend = BOOLEAN(WINAPI*)(BOOLEAN, BOOLEAN, BOOLEAN);
        if (const auto suspend = ProcAddress<Suspend>(powrprof.get(), "SetSuspendState"))
            suspend(hibernate, force, wakeEventsDisabled);
    }

    void SetSystemPowerState(bool suspend, bool force) override { ::SetSystemPowerState(suspend, force); }

    void SendWindowMessage(Handle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override {
        SendMessageW(reinterpret_cast<HWND>(window), message, wParam, lParam);
    }

    void RtlAdjustPrivilege(std::uint32_t privilege, bool enable, bool currentThread) override {
        using Adjust = LONG(NTAPI*)(ULONG, BOOLEAN, BOOLEAN, PBOOLEAN);
        BOOLEAN previous = FALSE;
        if (const auto adjust = ProcAddress<Adjust>(GetModuleHandleW(L"ntdll.dll"), "RtlAdjustPrivilege"))
            adjust(privilege, enable, currentThread, &previous);
    }

    void NtShutdownSystem(std::uint32_t action) override {
        using Shutdown = LONG(NTAPI*)(ULONG);
        if (const auto shutdown = ProcAddress<Shutdown>(GetModuleHandleW(L"ntdll.dll"), "NtShutdownSystem"))
            shutdown(action);
    }
};

SystemPowerOperations systemPowerOperations;

struct InstallAtStart {
    InstallAtStart() { InstallPowerOperations(systemPowerOperations); }
} installAtStart;

}  // namespace
}  // namespace quilvane::power
