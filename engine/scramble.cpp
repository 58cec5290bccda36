#include "scramble.h"

#include <cstdint>
#include <vector>

namespace quilvane {
namespace {

int PositionShift(std::size_t i) {
    if (i == 0) return 5;
    if (i <= 3) return -5;
    if (i <= 5) return -10;
    return 5;
}

std::uint8_t KeyByte(std::string_view key, std::size_t i) {
    return key.empty() ? 0 : static_cast<std::uint8_t>(key[i % key.size()]);
}

std::uint8_t Byte(std::string_view text, std::size_t i) { return static_cast<std::uint8_t>(text[i]); }

// The scrambler appends each byte and reverses the whole text every time. That leaves the
// positions of the last position's parity first, descending, then the others ascending:
// n = 5 gives 4 2 0 1 3, n = 4 gives 3 1 0 2.
std::vector<std::size_t> InterleavedOrder(std::size_t n) {
    std::vector<std::size_t> order;
    order.reserve(n);
    for (std::size_t i = n; i-- > 0;)
        if ((n - 1 - i) % 2 == 0) order.push_back(i);
    for (std::size_t i = 0; i < n; ++i)
        if ((n - 1 - i) % 2 == 1) order.push_back(i);
    return order;
}

}  // namespace

std::string ScrambleText(std::string_view text, std::string_view key) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i : InterleavedOrder(text.size())) {
        const auto shifted = static_cast<std::uint8_t>(Byte(text, i) + PositionShift(i));
        out += static_cast<char>(shifted ^ KeyByte(key, i));
    }
    return out;
}

std::string UnweaveText(std::string_view text, bool keepLineBreaks) {
    std::string s;
    s.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!keepLineBreaks && text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
            continue;
        }
        s += text[i];
    }
    const std::vector<std::size_t> order = InterleavedOrder(s.size());
    std::string plain(s.size(), '\0');
    for (std::size_t slot = 0; slot < order.size(); ++slot) plain[order[slot]] = s[slot];
    return plain;
}

std::string UnscrambleText(std::string_view text, std::string_view key) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto unkeyed = static_cast<std::uint8_t>(Byte(text, i) ^ KeyByte(key, i));
        out += static_cast<char>(static_cast<std::uint8_t>(unkeyed - PositionShift(i)));
    }
    return out;
}

}  // namespace quilvane
