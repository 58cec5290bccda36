#include "codepage.h"

#include <windows.h>

#include "utf16.h"

namespace quilvane {
namespace {

constexpr UINT kGb18030 = 54936;

// GB18030 agrees with code page 936 on everything 936 holds and holds every other character
// too; where the system lacks it, names outside the code page are refused instead.
UINT TextFileCodePage() {
    const UINT system = GetACP();
    return system == 936 && IsValidCodePage(kGb18030) ? kGb18030 : system;
}

// Code pages whose conversion refuses every flag.
bool IsFlaglessCodePage(UINT codePage) {
    return codePage == kGb18030 || codePage == CP_UTF8 || codePage == CP_UTF7 ||
           (codePage >= 50220 && codePage <= 57011);
}

}  // namespace

Result<std::string> ToAnsi(std::string_view utf8) {
    const std::wstring wide = Widen(utf8);
    if (wide.empty()) return std::string();
    const UINT codePage = TextFileCodePage();
    const DWORD flags = IsFlaglessCodePage(codePage) ? 0 : WC_NO_BEST_FIT_CHARS;
    const int size =
        WideCharToMultiByte(codePage, flags, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    if (size <= 0) return Status::Fail("");
    std::string ansi(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(codePage, flags, wide.data(), static_cast<int>(wide.size()), ansi.data(), size, nullptr,
                        nullptr);
    // A character the code page lacks comes back as something else.
    if (Widen(FromAnsi(ansi)) != wide) return Status::Fail("");
    return ansi;
}

bool SystemCodePageHolds(char32_t character) {
    wchar_t units[2] = {static_cast<wchar_t>(character), 0};
    int count = 1;
    if (character >= 0x10000) {
        units[0] = static_cast<wchar_t>(0xD800 + ((character - 0x10000) >> 10));
        units[1] = static_cast<wchar_t>(0xDC00 + ((character - 0x10000) & 0x3FF));
        count = 2;
    }
    // Through the code page and back: a character it lacks, or maps to a look-alike, changes.
    char bytes[8];
    const int size = WideCharToMultiByte(CP_ACP, 0, units, count, bytes, sizeof bytes, nullptr, nullptr);
    wchar_t back[4];
    const int backCount = size > 0 ? MultiByteToWideChar(CP_ACP, 0, bytes, size, back, 4) : 0;
    return backCount == count && back[0] == units[0] && (count == 1 || back[1] == units[1]);
}

std::string FromAnsi(std::string_view ansi) {
    if (ansi.empty()) return {};
    const UINT codePage = TextFileCodePage();
    const int size = MultiByteToWideChar(codePage, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(codePage, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), size);
    return Narrow(wide);
}

}  // namespace quilvane
