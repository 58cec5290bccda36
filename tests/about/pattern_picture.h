#pragma once
// Pictures made by the tests: every pixel differs from its neighbours, so a displaced or
// softened pixel shows in the output.

#include <cstdint>

#include "bmp_image.h"
#include "ripple.h"

namespace quilvane::about::testing {

inline Picture PatternPicture(std::int32_t width, std::int32_t height) {
    Picture picture{width, height, {}};
    const std::int32_t stride = RippleStride(width);
    picture.pixels.assign(static_cast<std::size_t>(stride) * height, 0);
    for (std::int32_t y = 0; y < height; ++y)
        for (std::int32_t x = 0; x < width; ++x) {
            std::uint8_t* pixel = &picture.pixels[static_cast<std::size_t>(y * stride + x * 3)];
            pixel[0] = static_cast<std::uint8_t>(x * 37 + y * 11);
            pixel[1] = static_cast<std::uint8_t>(x * 5 + y * 53 + 7);
            pixel[2] = static_cast<std::uint8_t>((x ^ y) * 29 + 100);
        }
    return picture;
}

inline RippleState StartedOn(const Picture& picture, std::int32_t seed = 0) {
    RippleState state;
    RippleBegin(state, picture.width, picture.height, picture.pixels.data(), seed);
    return state;
}

}  // namespace quilvane::about::testing
