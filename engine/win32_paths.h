#pragma once
// Paths as the system takes them, for the engine's Windows files. Internal to the engine.

#include <windows.h>

#include <string>

namespace quilvane {

// The wide form of a UTF-8 path; paths of MAX_PATH or more in their "\\?\" form.
std::wstring NativePath(const std::string& path);

}  // namespace quilvane
