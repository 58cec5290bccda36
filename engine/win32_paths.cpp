#include "win32_paths.h"

#include "utf16.h"

namespace quilvane {

// Paths of MAX_PATH or more reach the file system only in their "\\?\" form, which the system
// takes literally, so that form is given the full path.
std::wstring NativePath(const std::string& path) {
    const std::wstring wide = Widen(path);
    if (wide.rfind(L"\\\\?\\", 0) == 0 || wide.rfind(L"\\\\.\\", 0) == 0) return wide;
    const DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (size == 0) return wide;
    std::wstring full(size, L'\0');
    full.resize(GetFullPathNameW(wide.c_str(), size, full.data(), nullptr));
    if (full.size() < MAX_PATH) return wide;
    return full.rfind(L"\\\\", 0) == 0 ? L"\\\\?\\UNC\\" + full.substr(2) : L"\\\\?\\" + full;
}

}  // namespace quilvane
