#pragma once
// Values of the settings file are single lines, and the profile functions drop blanks and
// quotes around them. A value that would lose something that way (line breaks, blanks at
// its end, surrounding quotes) is written escaped behind a marker; every other value is
// written as it is, and values written before the marker existed read as they always did.

#include <string>
#include <string_view>

namespace quilvane::mail {

inline constexpr std::string_view kEscapedMarker = "{lines}";

std::string EncodeSettingValue(std::string_view text);
std::string DecodeSettingValue(std::string_view stored);

}  // namespace quilvane::mail
