#include "setting_text.h"

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "utf8.h"

namespace quilvane::mail {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsHeld(char32_t c, HeldAsItIs held) { return c < 0x80 || !held || held(c); }

bool EveryCharacterHeld(std::string_view text, HeldAsItIs held) {
    for (std::size_t i = 0; i < text.size();) {
        const Utf8Character c = Utf8CharacterAt(text, i);
        if (!IsHeld(c.value, held)) return false;
        i += c.length;
    }
    return true;
}

// "\u{1F600}" at `at` (just past the backslash): the character and the escape's length.
std::optional<Utf8Character> UnicodeEscapeAt(std::string_view stored, std::size_t at) {
    const std::size_t close = stored.find('}', at);
    if (stored.substr(at, 2) != "u{" || close == std::string_view::npos || close - at < 3 || close - at > 8)
        return std::nullopt;
    const std::string digits(stored.substr(at + 2, close - at - 2));
    if (digits.find_first_not_of("0123456789ABCDEFabcdef") != std::string::npos) return std::nullopt;
    const auto value = static_cast<char32_t>(std::strtoul(digits.c_str(), nullptr, 16));
    if (value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return std::nullopt;
    return Utf8Character{value, close - at + 1, true};
}

bool SurvivesAsItIs(std::string_view text, HeldAsItIs held) {
    if (text.find_first_of("\r\n") != std::string_view::npos) return false;
    if (!EveryCharacterHeld(text, held)) return false;
    if (text.substr(0, kEscapedMarker.size()) == kEscapedMarker) return false;
    if (!text.empty() && (IsBlank(text.front()) || IsBlank(text.back()))) return false;
    const bool quoted =
        text.size() >= 2 && text.front() == text.back() && (text.front() == '"' || text.front() == '\'');
    return !quoted;
}

}  // namespace

std::string EncodeSettingValue(std::string_view text, HeldAsItIs held) {
    if (SurvivesAsItIs(text, held)) return std::string(text);
    std::string stored(kEscapedMarker);
    const std::size_t lastKept = text.find_last_not_of(" \t");
    for (std::size_t i = 0; i < text.size();) {
        const Utf8Character character = Utf8CharacterAt(text, i);
        const char c = text[i];
        const bool trailing = lastKept == std::string_view::npos || i > lastKept;
        if (c == '\\')
            stored += "\\\\";
        else if (c == '\r')
            stored += "\\r";
        else if (c == '\n')
            stored += "\\n";
        else if (trailing && c == ' ')
            stored += "\\s";
        else if (trailing && c == '\t')
            stored += "\\t";
        else if (!IsHeld(character.value, held)) {
            char escape[16];
            std::snprintf(escape, sizeof escape, "\\u{%X}", static_cast<unsigned>(character.value));
            stored += escape;
        } else
            stored += text.substr(i, character.length);
        i += character.length;
    }
    return stored;
}

std::string DecodeSettingValue(std::string_view stored) {
    if (stored.substr(0, kEscapedMarker.size()) != kEscapedMarker) return std::string(stored);
    std::string text;
    for (std::size_t i = kEscapedMarker.size(); i < stored.size(); ++i) {
        if (stored[i] != '\\' || i + 1 == stored.size()) {
            text += stored[i];
            continue;
        }
        if (const std::optional<Utf8Character> escaped = UnicodeEscapeAt(stored, i + 1)) {
            AppendUtf8(text, escaped->value);
            i += escaped->length;
            continue;
        }
        switch (stored[++i]) {
        case 'r': text += '\r'; break;
        case 'n': text += '\n'; break;
        case 's': text += ' '; break;
        case 't': text += '\t'; break;
        case '\\': text += '\\'; break;
        default: text += '\\', text += stored[i];  // not ours: kept as written
        }
    }
    return text;
}

}  // namespace quilvane::mail
