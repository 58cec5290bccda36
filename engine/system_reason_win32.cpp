#include "system_reason.h"

#include <windows.h>

#include <cstdio>

#include "utf16.h"
#include "win32_owners.h"

namespace quilvane {

std::string SystemReason(unsigned long code) {
    wchar_t* allocated = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<wchar_t*>(&allocated), 0, nullptr);
    const LocalMemory<wchar_t> text(allocated);
    std::wstring reason(text ? text.get() : L"", length);
    const std::size_t end = reason.find_last_not_of(L"\r\n .。");
    reason.erase(end == std::wstring::npos ? 0 : end + 1);
    if (!reason.empty()) return Narrow(reason);
    char hex[32];
    std::snprintf(hex, sizeof hex, "错误 0x%08lX", code);
    return hex;
}

}  // namespace quilvane
