#pragma once
// The one conversion between the core's UTF-8 text and the ANSI code page in which the
// descriptor and the batch files are written. Where the system's code page is 936 (and on
// systems without one) its superset GB18030 is used where available, so every name survives;
// otherwise a character the code page lacks is refused rather than written as something else.

#include <string>
#include <string_view>

#include "status.h"

namespace quilvane {

// Fails (with an empty message) when the text holds a character the code page cannot represent.
Result<std::string> ToAnsi(std::string_view utf8);
std::string FromAnsi(std::string_view ansi);

// Whether the system's own code page holds the character as it is: the private-profile
// functions write the settings file in it, without the GB18030 extension, and a character it
// lacks comes back as '?'. Where there is no such code page, every character is held.
bool SystemCodePageHolds(char32_t character);

}  // namespace quilvane
