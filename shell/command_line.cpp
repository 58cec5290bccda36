#include "command_line.h"

#include <algorithm>

#include "utf16.h"

namespace quilvane::shell {

std::string CommandLinePath(const std::wstring& commandLine) {
    // The program's name ends at the first blank outside quotes.
    std::size_t at = 0;
    bool quoted = false;
    while (at < commandLine.size() && (quoted || (commandLine[at] != L' ' && commandLine[at] != L'\t'))) {
        if (commandLine[at] == L'"') quoted = !quoted;
        ++at;
    }
    while (at < commandLine.size() && (commandLine[at] == L' ' || commandLine[at] == L'\t')) ++at;
    std::wstring path = commandLine.substr(at);
    path.erase(std::remove(path.begin(), path.end(), L'"'), path.end());
    return Narrow(path);
}

}  // namespace quilvane::shell
