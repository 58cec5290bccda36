#include "environment.h"

#include <cstdlib>

namespace quilvane {

std::optional<std::string> EnvironmentVariable(const char* name) {
    const char* value = std::getenv(name);
    if (!value) return std::nullopt;
    return std::string(value);
}

}  // namespace quilvane
