// Pictures handed to ripple-replay. A file that reads gives a picture of the promised layout,
// which is written and read again unchanged, and the water runs over it.

#include "bmp_image.h"
#include "fuzz_promise.h"
#include "replay_script.h"
#include "ripple.h"

using namespace quilvane::about;
using quilvane::Result;
using quilvane::fuzz::Promise;

namespace {

// A drop in the middle and some rain: enough to move every part of the effect.
std::vector<ReplayCommand> Water(const Picture& picture) {
    using Kind = ReplayCommand::Kind;
    return {{Kind::Drop, {picture.width / 2, picture.height / 2, 2, 300}},
            {Kind::Auto, {kModeRain, 0, 4, 200}},
            {Kind::Tick, {8}}};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Result<Picture> picture = DecodeBmp(quilvane::fuzz::Text(data, size));
    if (!picture) {
        Promise(!picture.message().empty(), "a refusal says why");
        return 0;
    }
    const std::int64_t width = picture->width, height = picture->height;
    Promise(width >= 1 && height >= 1 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
                width * height <= kMaxPicturePixels,
            "a picture read has a size the effect takes");
    const auto stride = static_cast<std::size_t>(RippleStride(picture->width));
    Promise(picture->pixels.size() == stride * static_cast<std::size_t>(height), "rows of stride bytes");
    for (std::size_t row = 0; row < static_cast<std::size_t>(height); ++row)
        for (std::size_t at = static_cast<std::size_t>(width) * 3; at < stride; ++at)
            Promise(picture->pixels[row * stride + at] == 0, "the ends of rows are zero");
    const Result<Picture> again = DecodeBmp(EncodeBmp(*picture));
    Promise(again && again->width == width && again->height == height && again->pixels == picture->pixels,
            "a picture written and read again is the same");
    Promise(Replay(*picture, Water(*picture)).pixels.size() == picture->pixels.size(),
            "the water shows the whole picture");
    return 0;
}
