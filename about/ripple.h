#pragma once
// The water surface over a picture, without any window. A height map of 32-bit cells, one per
// pixel, is advanced by a damped discrete wave equation on every tick; each shown pixel is taken
// from the picture at an offset given by the local slope of the water, and pixels that moved are
// softened by a small weighted average. Arithmetic is integer only, and no tick allocates: the
// buffers are made once by RippleBegin. While the water is at rest a tick does no pixel work.
//
// Pictures are top-down rows of 24-bit pixels (blue, green, red bytes), each row padded to a
// multiple of 4 bytes (RippleStride). Coordinates are pixels of the picture, x to the right and
// y downwards.

#include <cstdint>
#include <vector>

namespace quilvane::about {

// Bits of RippleState::flags.
inline constexpr std::int32_t kWaterMoving = 1;   // propagate and render on the next tick
inline constexpr std::int32_t kFrameWaiting = 2;  // a rendered frame has not been shown yet
inline constexpr std::int32_t kAutoModeOn = 4;    // an automatic mode adds drops on every tick

// The automatic modes.
inline constexpr std::int32_t kModeOff = 0;
inline constexpr std::int32_t kModeRain = 1;           // one random drop per tick
inline constexpr std::int32_t kModeWanderingDrop = 2;  // one drop moving across, a step every second tick
inline constexpr std::int32_t kModeBursts = 3;         // count + 1 small random drops per tick

// Heights are kept within this distance of rest, so sums of neighbours never overflow; real
// drops are a few hundred high.
inline constexpr std::int32_t kHeightLimit = 1 << 28;

struct RippleState {
    std::int32_t flags = 0;
    // The picture inside a frame of its own edge pixels repeated once, so softening a pixel
    // needs no edge checks: (width + 2) x (height + 2) pixels, rows of sourceStride bytes.
    std::vector<std::uint8_t> sourcePixels;
    std::vector<std::uint8_t> outputPixels;                     // what is shown: stride bytes a row, width x height
    std::vector<std::int32_t> currentHeights, previousHeights;  // width x height cells, row by row
    std::int32_t width = 0, height = 0, stride = 0, sourceStride = 0;
    std::int32_t seed = 0;  // state of the effect's own random generator
    std::int32_t mode = kModeOff;
    std::int32_t count = 0;          // speed of the wandering drop, or extra drops per burst
    std::int32_t sizeLimit = 0;      // drop size (wandering drop) or bound of the random size
    std::int32_t strengthLimit = 0;  // drop strength (wandering drop) or bound of the random strength
    std::int32_t wanderX = 0, wanderY = 0, wanderDx = 0, wanderDy = 0;
    std::int32_t tickCounter = 0;  // the wandering drop moves on every second tick
};

// Bytes per pixel row: width x 3 rounded up to a multiple of 4.
std::int32_t RippleStride(std::int32_t width);

// Starts the effect on a picture of width x height pixels (`pixels` holds stride x height bytes;
// both sizes at least 1): flat water, the output rendered from the picture and waiting to be
// shown, no automatic mode. Throws std::bad_alloc when the buffers cannot be made.
void RippleBegin(RippleState& state, std::int32_t width, std::int32_t height, const std::uint8_t* pixels,
                 std::int32_t seed);

// The effect's generator: the low byte of the seed, then the seed moves on.
std::int32_t RippleRandomByte(RippleState& state);
// Two bytes make a number v in 0 to 65535; returns v modulo n, or v itself when n is 0.
std::int32_t RippleRandom(RippleState& state, std::int32_t n);
// One past the largest number RippleRandom(state, n) can return.
std::int64_t RippleRandomBound(std::int32_t n);

// One step of the wave equation while the water moves. The first and last rows stay at rest;
// the cells are taken as one running index, so a row's first cell has the previous row's last
// cell as its left neighbour. Heights never go below rest.
void RipplePropagate(RippleState& state);
// Draws the output from the picture displaced by the water's slope, and marks the frame as
// waiting. The first and last rows keep the picture's own pixels. When no pixel is displaced
// the water has come to rest: no further work until the next drop.
void RippleRender(RippleState& state);
// Writes into `destination` the picture's pixel at (x, y) softened with its four neighbours,
// weights 4 for the pixel and 3 for each neighbour; a neighbour beyond the picture's edge is the
// edge pixel itself.
void RippleBlendPixel(const RippleState& state, std::int32_t x, std::int32_t y, std::uint8_t* destination);

// Raises the water to `strength` over the square of side 2 x (size / 2) + 1 around (x, y). A
// square that would touch the picture's outermost pixels is ignored, not clipped.
void RippleAddDrop(RippleState& state, std::int32_t x, std::int32_t y, std::int32_t size, std::int32_t strength);
// Mode 0 stops the automatic drops (moving water still settles); the other modes take the
// parameters, and the wandering drop starts at a random place moving `count` pixels a step.
void RippleSetAutoMode(RippleState& state, std::int32_t mode, std::int32_t count, std::int32_t sizeLimit,
                       std::int32_t strengthLimit);
// The drops the current automatic mode adds on one tick.
void RippleAddAutomaticDrops(RippleState& state);

// One timer tick: propagate, render, then the automatic drops. A rendered frame stays marked
// waiting (kFrameWaiting) until its shower clears the mark.
void RippleTick(RippleState& state);

}  // namespace quilvane::about
