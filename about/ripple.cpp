#include "ripple.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace quilvane::about {
namespace {

// Offsets and sizes as the platform's pointer width, so no product of two 32-bit values wraps.
std::ptrdiff_t At(std::int32_t x, std::int32_t y, std::int32_t rowLength) {
    return static_cast<std::ptrdiff_t>(y) * rowLength + x;
}

std::int32_t ClampHeight(std::int64_t level) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(level, -kHeightLimit, kHeightLimit));
}

// The random drops of rain and bursts; the generator is drawn in this order.
void AddRandomDrop(RippleState& state, std::int32_t strengthOffset) {
    const std::int32_t x = RippleRandom(state, state.width - 2) + 1;
    const std::int32_t y = RippleRandom(state, state.height - 2) + 1;
    const std::int32_t size = RippleRandom(state, state.sizeLimit) + 1;
    const std::int32_t strength = RippleRandom(state, state.strengthLimit) + strengthOffset;
    RippleAddDrop(state, x, y, size, strength);
}

// Positions and speeds are worked out in 64 bits and stored back modulo 2^32, so even absurd
// speeds cannot overflow; such a drop simply lands outside and is ignored.
void MoveWanderingDrop(RippleState& state) {
    state.tickCounter = static_cast<std::int32_t>(static_cast<std::uint32_t>(state.tickCounter) + 1);
    if (state.tickCounter & 1) return;
    const std::int64_t lastX = state.width - 1, lastY = state.height - 1;
    std::int64_t x = std::int64_t{state.wanderX} + state.wanderDx, y = std::int64_t{state.wanderY} + state.wanderDy;
    std::int64_t dx = state.wanderDx, dy = state.wanderDy;
    // One reflection per edge, in this order.
    if (x < 1) {
        x = 1 - x;
        dx = -dx;
    }
    if (y < 1) {
        y = 1 - y;
        dy = -dy;
    }
    if (x > lastX) {
        x = 2 * lastX - x;
        dx = -dx;
    }
    if (y > lastY) {
        y = 2 * lastY - y;
        dy = -dy;
    }
    state.wanderX = static_cast<std::int32_t>(x);
    state.wanderY = static_cast<std::int32_t>(y);
    state.wanderDx = static_cast<std::int32_t>(dx);
    state.wanderDy = static_cast<std::int32_t>(dy);
    RippleAddDrop(state, state.wanderX, state.wanderY, state.sizeLimit, state.strengthLimit);
}

// The picture's pixel at (x, y), which may lie one pixel outside it, in the framed source.
const std::uint8_t* SourcePixel(const RippleState& state, std::int32_t x, std::int32_t y) {
    return state.sourcePixels.data() + At((x + 1) * 3, y + 1, state.sourceStride);
}

// Softens one framed source pixel into `destination`. All reads come before any write: the
// destination is bytes too, so the compiler cannot tell that writing it leaves the source alone.
inline void Blend(const std::uint8_t* pixel, std::ptrdiff_t sourceStride, std::uint8_t* destination) {
    const std::uint8_t* left = pixel - 3;
    const std::uint8_t* right = pixel + 3;
    const std::uint8_t* above = pixel - sourceStride;
    const std::uint8_t* below = pixel + sourceStride;
    std::uint8_t blended[3];
    for (int c = 0; c < 3; ++c) {
        const unsigned neighbours = 0u + left[c] + right[c] + below[c] + above[c];
        blended[c] = static_cast<std::uint8_t>((4u * pixel[c] + 3u * neighbours) / 16);
    }
    std::memcpy(destination, blended, 3);
}

void FrameSource(RippleState& state, const std::uint8_t* pixels) {
    const std::int32_t w = state.width, h = state.height;
    state.sourceStride = (w + 2) * 3;
    state.sourcePixels.assign(static_cast<std::size_t>(state.sourceStride) * static_cast<std::size_t>(h + 2), 0);
    for (std::int32_t y = -1; y <= h; ++y) {
        const std::uint8_t* row = pixels + At(0, std::clamp(y, 0, h - 1), state.stride);
        std::uint8_t* framed = state.sourcePixels.data() + At(0, y + 1, state.sourceStride);
        std::memcpy(framed, row, 3);
        std::memcpy(framed + 3, row, static_cast<std::size_t>(w) * 3);
        std::memcpy(framed + (w + 1) * 3, row + (w - 1) * 3, 3);
    }
}

}  // namespace

std::int32_t RippleStride(std::int32_t width) { return (width * 3 + 3) & ~3; }

void RippleBegin(RippleState& state, std::int32_t width, std::int32_t height, const std::uint8_t* pixels,
                 std::int32_t seed) {
    state = RippleState{};
    state.seed = seed;
    state.width = width;
    state.height = height;
    state.stride = RippleStride(width);
    const std::size_t cells = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    const std::size_t bytes = static_cast<std::size_t>(state.stride) * static_cast<std::size_t>(height);
    state.currentHeights.assign(cells, 0);
    state.previousHeights.assign(cells, 0);
    state.outputPixels.assign(pixels, pixels + bytes);
    FrameSource(state, pixels);
    state.flags = kWaterMoving | kFrameWaiting;
    RippleRender(state);
}

std::int32_t RippleRandomByte(RippleState& state) {
    const std::int32_t byte = state.seed & 0xFF;
    state.seed = static_cast<std::int32_t>((std::int64_t{state.seed & 0xFFFF} * 2047 + 127) % 32767);
    return byte;
}

std::int32_t RippleRandom(RippleState& state, std::int32_t n) {
    const std::int32_t low = RippleRandomByte(state);
    const std::int32_t high = RippleRandomByte(state);
    const std::int32_t value = high * 256 + low;
    return n != 0 ? value % n : value;
}

std::int64_t RippleRandomBound(std::int32_t n) {
    constexpr std::int64_t kValues = 65536;  // two random bytes
    return n != 0 ? std::min(std::abs(std::int64_t{n}), kValues) : kValues;
}

void RipplePropagate(RippleState& state) {
    if (!(state.flags & kWaterMoving)) return;
    const std::ptrdiff_t w = state.width;
    const std::ptrdiff_t end = At(0, state.height - 1, state.width);
    const std::int32_t* current = state.currentHeights.data();
    std::int32_t* previous = state.previousHeights.data();
    for (std::ptrdiff_t i = w; i < end; ++i) {
        // Heights stay within kHeightLimit, so this sum fits comfortably in 32 bits.
        std::int32_t v = (current[i - 1] + current[i + 1] + current[i - w] + current[i + w]) / 2 - previous[i];
        // Unsigned once it is known not to be negative, so the damping is a plain shift.
        const auto level = static_cast<std::uint32_t>(std::clamp(v, 0, kHeightLimit));
        previous[i] = static_cast<std::int32_t>(level - level / 32);
    }
    std::swap(state.currentHeights, state.previousHeights);
}

void RippleBlendPixel(const RippleState& state, std::int32_t x, std::int32_t y, std::uint8_t* destination) {
    Blend(SourcePixel(state, x, y), state.sourceStride, destination);
}

void RippleRender(RippleState& state) {
    if (!(state.flags & kWaterMoving)) return;
    state.flags |= kFrameWaiting;
    bool moved = false;
    const std::int32_t w = state.width, h = state.height;
    for (std::int32_t i = 1; i < h - 1; ++i) {
        const std::int32_t* row = state.currentHeights.data() + At(0, i, w);
        const std::uint8_t* own = SourcePixel(state, 0, i);
        std::uint8_t* out = state.outputPixels.data() + At(0, i, state.stride);
        for (std::int32_t j = 0; j < w; ++j, own += 3, out += 3) {
            // The first cell's left neighbour is the previous row's last, as in propagation.
            const std::int32_t dx = row[j - 1] - row[j + 1];
            const std::int32_t dy = row[j - w] - row[j + w];
            if ((dx | dy) == 0) {
                std::memcpy(out, own, 3);
                continue;
            }
            const std::int32_t xx = j + dx, yy = i + dy;
            // Looking past the picture: the pixel keeps what it showed.
            if (static_cast<std::uint32_t>(xx) >= static_cast<std::uint32_t>(w) ||
                static_cast<std::uint32_t>(yy) >= static_cast<std::uint32_t>(h))
                continue;
            Blend(own + dx * 3 + static_cast<std::ptrdiff_t>(dy) * state.sourceStride, state.sourceStride, out);
            moved = true;
        }
    }
    if (!moved) state.flags &= ~kWaterMoving;
}

void RippleAddDrop(RippleState& state, std::int32_t x, std::int32_t y, std::int32_t size, std::int32_t strength) {
    const std::int64_t r = size / 2;
    if (x - r < 1 || x + r + 1 >= state.width || y - r < 1 || y + r + 1 >= state.height) return;
    // Every cell of the square lies within `size` of the centre (size 0 counting as 1), so the
    // whole square is raised.
    const std::int32_t level = ClampHeight(strength);
    for (std::int64_t l = y - r; l <= y + r; ++l)
        for (std::int64_t c = x - r; c <= x + r; ++c)
            state.currentHeights[static_cast<std::size_t>(l * state.width + c)] = level;
    state.flags |= kWaterMoving;
}

void RippleSetAutoMode(RippleState& state, std::int32_t mode, std::int32_t count, std::int32_t sizeLimit,
                       std::int32_t strengthLimit) {
    if (mode == kModeOff) {
        state.mode = kModeOff;
        state.flags &= ~kAutoModeOn;
        return;
    }
    if (mode == kModeWanderingDrop) {
        state.wanderDx = state.wanderDy = count;
        state.wanderX = RippleRandom(state, state.width - 2) + 1;
        state.wanderY = RippleRandom(state, state.height - 2) + 1;
    }
    state.strengthLimit = strengthLimit;
    state.count = count;
    state.mode = mode;
    state.sizeLimit = sizeLimit;
    state.flags |= kAutoModeOn;
}

void RippleAddAutomaticDrops(RippleState& state) {
    if (!(state.flags & kAutoModeOn)) return;
    switch (state.mode) {
    case kModeRain: AddRandomDrop(state, 50); break;
    case kModeWanderingDrop: MoveWanderingDrop(state); break;
    case kModeBursts:
        for (std::int64_t drop = 0; drop <= state.count; ++drop) AddRandomDrop(state, 0);
        break;
    default: break;
    }
}

void RippleTick(RippleState& state) {
    RipplePropagate(state);
    RippleRender(state);
    RippleAddAutomaticDrops(state);
}

}  // namespace quilvane::about
