#include "environment.h"

#include <cstdlib>

#include "utf16.h"

namespace quilvane {

// The wide environment keeps every character; the narrow one only those of the code page.
std::optional<std::string> EnvironmentVariable(const char* name) {
    const wchar_t* value = _wgetenv(Widen(name).c_str());
    if (!value) return std::nullopt;
    return Narrow(value);
}

}  // namespace quilvane
