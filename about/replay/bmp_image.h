#pragma once
// 24-bit Windows bitmap files (.bmp) in memory, for pictures handed to the ripple effect.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "status.h"

namespace quilvane::about {

// Top-down rows of 24-bit pixels (blue, green, red), each row RippleStride(width) bytes with
// zero padding: the layout the ripple effect works on.
struct Picture {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> pixels;
};

// The largest picture taken: the effect keeps about 14 bytes for every pixel.
inline constexpr std::int32_t kMaxPictureSide = 16384;
inline constexpr std::int64_t kMaxPicturePixels = std::int64_t{1} << 25;

// Reads an uncompressed 24-bit bitmap stored bottom-up or top-down. A failure says in words
// what is wrong with the file.
Result<Picture> DecodeBmp(std::string_view bytes);

// The picture as a bottom-up 24-bit bitmap file.
std::string EncodeBmp(const Picture& picture);

}  // namespace quilvane::about
