#pragma once
// Environment variables as UTF-8 text.

#include <optional>
#include <string>

namespace quilvane {

// Nothing when the variable is not set; an empty text when it is set to nothing.
std::optional<std::string> EnvironmentVariable(const char* name);

}  // namespace quilvane
