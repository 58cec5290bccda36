#include "ripple.h"

#include <algorithm>
#include <cstring>
#include <iostream>

#include <gtest/gtest.h>

#include "pattern_picture.h"

namespace quilvane::about {
namespace {

using testing::PatternPicture;
using testing::StartedOn;

std::int32_t& Height(RippleState& state, std::int32_t x, std::int32_t y) {
    return state.currentHeights[static_cast<std::size_t>(y * state.width + x)];
}

int RaisedCells(const RippleState& state) {
    return static_cast<int>(
        std::count_if(state.currentHeights.begin(), state.currentHeights.end(), [](std::int32_t h) { return h != 0; }));
}

const std::uint8_t* Pixel(const std::vector<std::uint8_t>& pixels, const RippleState& state, int x, int y) {
    return &pixels[static_cast<std::size_t>(y * state.stride + x * 3)];
}

// What the blend gives for one colour byte, worked out by hand from its five inputs.
std::uint8_t Blended(int centre, int left, int right, int below, int above) {
    return static_cast<std::uint8_t>((4 * centre + 3 * (left + right + below + above)) / 16);
}

TEST(RippleGenerator, GivesTheKnownFirstValuesForKnownSeeds) {
    RippleState state;
    state.seed = 0;
    EXPECT_EQ(RippleRandomByte(state), 0);
    EXPECT_EQ(state.seed, 127);
    EXPECT_EQ(RippleRandomByte(state), 127);
    EXPECT_EQ(RippleRandomByte(state), 7);
    EXPECT_EQ(RippleRandomByte(state), 247);
    EXPECT_EQ(state.seed, 29958);

    state.seed = 0;
    EXPECT_EQ(RippleRandom(state, 0), 32512) << "n = 0 gives the whole 16-bit value, high byte drawn second";
    EXPECT_EQ(RippleRandom(state, 0), 63239);
    state.seed = 0;
    EXPECT_EQ(RippleRandom(state, 315), 67);
    EXPECT_EQ(RippleRandom(state, 315), 239);
    EXPECT_EQ(RippleRandom(state, 315), 176);
    EXPECT_EQ(state.seed, 483);

    state.seed = 12345;
    EXPECT_EQ(RippleRandom(state, 308), 265);
    EXPECT_EQ(RippleRandom(state, 308), 198);
}

TEST(RippleGenerator, TakesTickCountsPastTheSignBit) {
    // The window seeds with the tick count, which is negative as a 32-bit number after 24 days.
    RippleState state;
    state.seed = -1;
    EXPECT_EQ(RippleRandomByte(state), 255);
    EXPECT_EQ(state.seed, 2174);
    state.seed = -1;
    EXPECT_EQ(RippleRandom(state, -7), 3) << "the remainder keeps the sign of the value";
    EXPECT_EQ(RippleRandom(state, -7), 3);
    EXPECT_EQ(RippleRandom(state, -7), 1);
    state.seed = 305419896;
    EXPECT_EQ(RippleRandomByte(state), 120);
    EXPECT_EQ(state.seed, 28525);
}

TEST(RippleDrop, TouchingTheBorderIsIgnoredNotClipped) {
    const Picture picture = PatternPicture(317, 310);
    RippleState state = StartedOn(picture);
    const std::int32_t flags = state.flags;
    RippleAddDrop(state, 1, 1, 2, 256);
    RippleAddDrop(state, 315, 100, 2, 256);  // its square would reach the last column
    RippleAddDrop(state, 100, 308, 2, 256);
    RippleAddDrop(state, 0, 0, 0, 256);
    RippleAddDrop(state, 316, 309, 0, 256);
    EXPECT_EQ(RaisedCells(state), 0);
    EXPECT_EQ(state.flags, flags) << "an ignored drop leaves the water at rest";

    RippleAddDrop(state, 2, 2, 2, 256);
    EXPECT_EQ(RaisedCells(state), 9);
    for (int y = 1; y <= 3; ++y)
        for (int x = 1; x <= 3; ++x) EXPECT_EQ(Height(state, x, y), 256) << x << "," << y;
    EXPECT_TRUE(state.flags & kWaterMoving);
    RippleAddDrop(state, 314, 307, 2, 100);  // the last place a size-2 drop fits
    EXPECT_EQ(Height(state, 315, 308), 100);
    EXPECT_EQ(RaisedCells(state), 18);
}

TEST(RippleDrop, SizeZeroSetsOneCellAndLargerSizesASquare) {
    const Picture picture = PatternPicture(40, 30);
    RippleState state = StartedOn(picture);
    RippleAddDrop(state, 1, 1, 0, 77);
    EXPECT_EQ(RaisedCells(state), 1);
    EXPECT_EQ(Height(state, 1, 1), 77);

    RippleAddDrop(state, 20, 15, 5, 9);  // half of 5 is 2: a 5 x 5 square
    EXPECT_EQ(RaisedCells(state), 26);
    EXPECT_EQ(Height(state, 18, 13), 9);
    EXPECT_EQ(Height(state, 22, 17), 9);
    EXPECT_EQ(Height(state, 23, 15), 0);

    RippleAddDrop(state, 20, 15, 4, 3);  // a new drop sets the water, it does not add to it
    EXPECT_EQ(Height(state, 20, 15), 3);
    EXPECT_EQ(Height(state, 18, 13), 3);
}

TEST(RippleDrop, AnEffectThatNeverStartedTakesNoDrops) {
    RippleState state;
    RippleAddDrop(state, 5, 5, 2, 256);
    RippleSetAutoMode(state, kModeBursts, 250, 4, 8);
    RippleTick(state);
    EXPECT_TRUE(state.currentHeights.empty());
    EXPECT_FALSE(state.flags & kWaterMoving);
}

TEST(RipplePropagation, FollowsTheDampedWaveStep) {
    const Picture picture = PatternPicture(20, 12);
    RippleState state = StartedOn(picture);
    RippleAddDrop(state, 10, 6, 2, 256);
    RipplePropagate(state);
    // The middle of the patch: (4 x 256) / 2 - 0 = 512, less a 32nd.
    EXPECT_EQ(Height(state, 10, 6), 496);
    // An edge of the patch: (256 + 256 + 256 + 0) / 2 = 384, less 12.
    EXPECT_EQ(Height(state, 10, 5), 372);
    // Beside the patch: 256 / 2 = 128, less 4.
    EXPECT_EQ(Height(state, 12, 6), 124);
    EXPECT_EQ(state.previousHeights[6 * 20 + 10], 256) << "the heights just left become the previous ones";
    RipplePropagate(state);
    // Its four neighbours were edges of the patch: (4 x 372) / 2 - 256 = 488, less 15.
    EXPECT_EQ(Height(state, 10, 6), 473);
}

TEST(RipplePropagation, RunsOverTheRowsAsOneIndexAndLeavesTheOuterRowsAtRest) {
    const Picture picture = PatternPicture(9, 7);
    RippleState state = StartedOn(picture);
    state.flags |= kWaterMoving;
    Height(state, 0, 3) = 100;  // a row's first cell is the right neighbour of the previous row's last
    RipplePropagate(state);
    EXPECT_EQ(Height(state, 8, 2), 49);  // 100 / 2 = 50, less 1
    EXPECT_EQ(Height(state, 1, 3), 49);

    for (int tick = 0; tick < 40; ++tick) {
        RippleAddDrop(state, 4, 3, 4, 256);
        RipplePropagate(state);
    }
    for (int x = 0; x < 9; ++x) {
        EXPECT_EQ(Height(state, x, 0), 0);
        EXPECT_EQ(Height(state, x, 6), 0);
    }
}

TEST(RipplePropagation, NeverGoesBelowRest) {
    const Picture picture = PatternPicture(60, 45);
    RippleState state = StartedOn(picture, 4242);
    RippleSetAutoMode(state, kModeBursts, 250, 4, 8);
    std::int32_t highest = 0;
    for (int tick = 0; tick < 300; ++tick) {
        if (tick % 7 == 0) RippleAddDrop(state, 30, 20, 2, 256);
        if (tick == 150) RippleSetAutoMode(state, kModeRain, 5, 4, 150);
        RippleTick(state);
        const auto [lowest, top] = std::minmax_element(state.currentHeights.begin(), state.currentHeights.end());
        ASSERT_GE(*lowest, 0) << "tick " << tick;
        highest = std::max(highest, *top);
    }
    EXPECT_LT(highest, 100000) << "the water stays within sight of its drops";
}

TEST(RippleRender, FlatWaterGivesThePictureBack) {
    const Picture picture = PatternPicture(13, 11);
    RippleState state = StartedOn(picture);
    EXPECT_EQ(state.outputPixels, picture.pixels);
    EXPECT_EQ(state.flags, kFrameWaiting) << "the first render finds nothing moved and waits to be shown";

    RippleAddDrop(state, 6, 5, 2, 1);
    RippleRender(state);
    ASSERT_NE(state.outputPixels, picture.pixels);
    std::fill(state.currentHeights.begin(), state.currentHeights.end(), 0);
    RippleRender(state);
    EXPECT_EQ(state.outputPixels, picture.pixels) << "pixels whose water is flat again are the picture's own";
    EXPECT_FALSE(state.flags & kWaterMoving);
}

TEST(RippleRender, TakesThePixelTheSlopePointsAtAndSoftensIt) {
    const Picture picture = PatternPicture(13, 11);
    RippleState state = StartedOn(picture);
    state.flags = kWaterMoving;
    Height(state, 5, 4) = 1;  // (6, 4) looks one pixel right: its left neighbour is higher
    RippleRender(state);
    const auto& source = picture.pixels;
    for (int c = 0; c < 3; ++c) {
        const int centre = Pixel(source, state, 7, 4)[c];
        EXPECT_EQ(Pixel(state.outputPixels, state, 6, 4)[c],
                  Blended(centre, Pixel(source, state, 6, 4)[c], Pixel(source, state, 8, 4)[c],
                          Pixel(source, state, 7, 5)[c], Pixel(source, state, 7, 3)[c]));
    }
    EXPECT_TRUE(state.flags & kWaterMoving);
    EXPECT_TRUE(state.flags & kFrameWaiting);
    // Higher water makes (5, 3) look two rows above the picture's first row.
    std::uint8_t shown[3];
    std::memcpy(shown, Pixel(state.outputPixels, state, 5, 3), 3);
    ASSERT_NE(0, std::memcmp(shown, Pixel(source, state, 5, 3), 3));
    Height(state, 5, 4) = 5;
    RippleRender(state);
    EXPECT_EQ(0, std::memcmp(Pixel(state.outputPixels, state, 5, 3), shown, 3))
        << "a pixel whose slope points outside the picture keeps what it showed";
}

TEST(RippleRender, NeighboursBeyondTheEdgesAreTheEdgePixel) {
    // 12 pixels make 36 bytes a row: no padding, so the last pixel's right neighbour would lie
    // past the end of the buffer.
    const Picture picture = PatternPicture(12, 8);
    RippleState state = StartedOn(picture);
    const auto& source = picture.pixels;
    state.flags = kWaterMoving;
    Height(state, 0, 2) = 1;   // (0, 1) looks up at (0, 0), the very first pixel
    Height(state, 11, 5) = 1;  // (11, 6) looks down at (11, 7), the very last pixel
    RippleRender(state);
    for (int c = 0; c < 3; ++c) {
        const int first = Pixel(source, state, 0, 0)[c];
        EXPECT_EQ(Pixel(state.outputPixels, state, 0, 1)[c],
                  Blended(first, first, Pixel(source, state, 1, 0)[c], Pixel(source, state, 0, 1)[c], first));
        const int last = Pixel(source, state, 11, 7)[c];
        EXPECT_EQ(Pixel(state.outputPixels, state, 11, 6)[c],
                  Blended(last, Pixel(source, state, 10, 7)[c], last, last, Pixel(source, state, 11, 6)[c]));
    }
    EXPECT_EQ(0, std::memcmp(state.outputPixels.data(), source.data(), static_cast<std::size_t>(state.stride)))
        << "the first row is never redrawn";
}

TEST(RippleTick, MovingWaterSettlesAndThenAllWorkStops) {
    const Picture picture = PatternPicture(317, 310);
    RippleState state = StartedOn(picture);
    RippleAddDrop(state, 150, 100, 2, 256);
    int ticks = 0;
    while ((state.flags & kWaterMoving) && ticks < 5000) {
        RippleTick(state);
        state.flags &= ~kFrameWaiting;  // shown
        ++ticks;
    }
    ASSERT_FALSE(state.flags & kWaterMoving) << "still moving after " << ticks << " ticks";
    EXPECT_GT(ticks, 20);
    EXPECT_EQ(state.outputPixels, picture.pixels);
    std::cout << ticks << " ticks\n";

    // At rest nothing is touched, not even heights a drop did not raise.
    Height(state, 3, 3) = 50;
    const RippleState before = state;
    for (int tick = 0; tick < 10; ++tick) RippleTick(state);
    EXPECT_EQ(state.currentHeights, before.currentHeights);
    EXPECT_EQ(state.outputPixels, before.outputPixels);
    EXPECT_EQ(state.flags, before.flags) << "no new frame waits to be shown";
}

}  // namespace
}  // namespace quilvane::about
