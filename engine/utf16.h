#pragma once
// UTF-8 text of the portable core to and from the UTF-16 the wide Win32 calls take.
// Windows builds only.

#include <string>
#include <string_view>

namespace quilvane {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

}  // namespace quilvane
