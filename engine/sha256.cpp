#include "sha256.h"

namespace quilvane {

std::string HexOf(const unsigned char* bytes, std::size_t size) {
    constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(size * 2);
    for (std::size_t i = 0; i < size; ++i) {
        hex += kDigits[bytes[i] >> 4];
        hex += kDigits[bytes[i] & 15];
    }
    return hex;
}

}  // namespace quilvane
