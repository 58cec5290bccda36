#include "codepage.h"

#include <windows.h>

#include "utf16.h"

namespace quilvane {
namespace {

constexpr UINT kGb18030 = 54936;

UINT TextFileCodePage() {
    const UINT system = GetACP();
    return system == 936 ? kGb18030 : system;
}

// Code pages whose conversion takes no flags and reports no default character.
bool IsFlaglessCodePage(UINT codePage) { return codePage == CP_UTF7 || (codePage >= 50220 && codePage <= 57011); }

}  // namespace

Result<std::string> ToAnsi(std::string_view utf8) {
    const std::wstring wide = Widen(utf8);
    if (wide.empty()) return std::string();
    const UINT codePage = TextFileCodePage();
    DWORD flags = 0;
    BOOL usedDefault = FALSE;
    BOOL* defaultUsed = nullptr;
    if (codePage == kGb18030 || codePage == CP_UTF8) {
        flags = WC_ERR_INVALID_CHARS;
    } else if (!IsFlaglessCodePage(codePage)) {
        flags = WC_NO_BEST_FIT_CHARS;
        defaultUsed = &usedDefault;
    }
    const int size = WideCharToMultiByte(codePage, flags, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                         nullptr, defaultUsed);
    if (size <= 0 || usedDefault) return Status::Fail("");
    std::string ansi(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(codePage, flags, wide.data(), static_cast<int>(wide.size()), ansi.data(), size, nullptr,
                        nullptr);
    return ansi;
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
