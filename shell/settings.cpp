#include "settings.h"

#include <windows.h>

#include <vector>

#include "paths.h"
#include "utf16.h"

namespace quilvane::shell {

std::string ExecutableFolder() {
    std::vector<wchar_t> path(MAX_PATH);
    DWORD length = 0;
    while ((length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()))) == path.size())
        path.resize(path.size() * 2);
    return EnsureTrailingSlash(FolderOf(Narrow(std::wstring_view(path.data(), length))));
}

std::string Settings::Read(const std::string& section, const std::string& key) const {
    wchar_t value[255] = {};
    GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), L"", value, 255, Widen(file_).c_str());
    return Narrow(value);
}

void Settings::Write(const std::string& section, const std::string& key, const std::string& value) const {
    WritePrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), Widen(value).c_str(), Widen(file_).c_str());
}

}  // namespace quilvane::shell
