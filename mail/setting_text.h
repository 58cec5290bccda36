#pragma once
// Values of the settings file are single lines in the system's code page, and the profile
// functions drop blanks and quotes around them. A value that would lose something that way
// (line breaks, blanks at its end, surrounding quotes, characters the code page lacks such as
// emoji) is written escaped behind a marker; every other value is written as it is, and
// values written before the marker existed read as they always did.

#include <string>
#include <string_view>

namespace quilvane::mail {

inline constexpr std::string_view kEscapedMarker = "{lines}";

// Whether the settings file holds a character as it is; null: every character.
using HeldAsItIs = bool (*)(char32_t character);

std::string EncodeSettingValue(std::string_view text, HeldAsItIs held = nullptr);
std::string DecodeSettingValue(std::string_view stored);

}  // namespace quilvane::mail
