#include "console.h"

#include <windows.h>
#include <io.h>
#include <shellapi.h>

#include "utf16.h"
#include "win32_owners.h"

namespace quilvane {
namespace {

HANDLE ConsoleOf(std::FILE* stream) {
    HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    return GetConsoleMode(handle, &mode) ? handle : nullptr;
}

}  // namespace

// The narrow arguments would have lost every character outside the code page.
std::vector<std::string> Utf8Arguments(int, char**) {
    int count = 0;
    const LocalMemory<wchar_t*> wide(CommandLineToArgvW(GetCommandLineW(), &count));
    std::vector<std::string> arguments;
    for (int i = 1; wide && i < count; ++i) arguments.push_back(Narrow(wide.get()[i]));
    return arguments;
}

void WriteText(std::FILE* stream, std::string_view utf8) {
    if (HANDLE console = ConsoleOf(stream)) {
        const std::wstring wide = Widen(utf8);
        DWORD written = 0;
        WriteConsoleW(console, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    std::fwrite(utf8.data(), 1, utf8.size(), stream);
    std::fflush(stream);
}

bool IsTerminal(std::FILE* stream) { return ConsoleOf(stream) != nullptr; }

}  // namespace quilvane
