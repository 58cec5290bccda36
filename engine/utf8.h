#pragma once
// Walking UTF-8 text one character at a time, the same way everywhere it is needed.

#include <cstddef>
#include <string>
#include <string_view>

namespace quilvane {

struct Utf8Character {
    char32_t value;
    std::size_t length;  // in bytes
    bool wellFormed;
};
// The character that starts at `at`. A byte that starts no whole, well-formed sequence
// (overlong, a surrogate, past U+10FFFF, cut short) stands for itself: length 1, not well-formed.
Utf8Character Utf8CharacterAt(std::string_view text, std::size_t at);
void AppendUtf8(std::string& text, char32_t character);
bool IsValidUtf8(std::string_view text);

}  // namespace quilvane
