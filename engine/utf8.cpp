#include "utf8.h"

namespace quilvane {

Utf8Character Utf8CharacterAt(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const Utf8Character stray{lead, 1, lead < 0x80};
    std::size_t length = 0;
    char32_t value = 0, minimum = 0;
    if (lead < 0x80) return stray;
    if ((lead & 0xE0) == 0xC0)
        length = 2, minimum = 0x80, value = lead & 0x1F;
    else if ((lead & 0xF0) == 0xE0)
        length = 3, minimum = 0x800, value = lead & 0x0F;
    else if ((lead & 0xF8) == 0xF0)
        length = 4, minimum = 0x10000, value = lead & 0x07;
    else
        return stray;
    if (at + length > text.size()) return stray;
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[at + k]);
        if ((next & 0xC0) != 0x80) return stray;
        value = (value << 6) | (next & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return stray;
    return {value, length, true};
}

void AppendUtf8(std::string& text, char32_t character) {
    if (character < 0x80) {
        text += static_cast<char>(character);
        return;
    }
    constexpr unsigned char kLeadMarks[] = {0, 0, 0xC0, 0xE0, 0xF0};
    const int length = character < 0x800 ? 2 : character < 0x10000 ? 3 : 4;
    text += static_cast<char>(kLeadMarks[length] | (character >> (6 * (length - 1))));
    for (int k = length - 2; k >= 0; --k) text += static_cast<char>(0x80 | ((character >> (6 * k)) & 0x3F));
}

bool IsValidUtf8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const Utf8Character character = Utf8CharacterAt(text, at);
        if (!character.wellFormed) return false;
        at += character.length;
    }
    return true;
}

}  // namespace quilvane
