#pragma once
// What the engine's Windows files share: paths as the system takes them, and its reasons in
// words. Internal to the engine's Windows build.

#include <windows.h>

#include <string>

namespace quilvane {

// The wide form of a UTF-8 path; paths of MAX_PATH or more in their "\\?\" form.
std::wstring NativePath(const std::string& path);
// The system's text for an error code, without the closing full stop.
std::string SystemReason(DWORD error);

}  // namespace quilvane
