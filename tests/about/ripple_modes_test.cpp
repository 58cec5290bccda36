#include <gtest/gtest.h>

#include "pattern_picture.h"
#include "ripple.h"

namespace quilvane::about {
namespace {

using testing::PatternPicture;
using testing::StartedOn;

std::int32_t HeightAt(const RippleState& state, std::int32_t x, std::int32_t y) {
    return state.currentHeights[static_cast<std::size_t>(y * state.width + x)];
}

// A generator in the same state as the effect's, to foretell its draws.
RippleState GeneratorOf(const RippleState& state) {
    RippleState copy;
    copy.seed = state.seed;
    return copy;
}

struct Drop {
    std::int32_t x, y, size, strength;
};

Drop ForetoldRandomDrop(RippleState& generator, const RippleState& state, std::int32_t strengthOffset) {
    Drop drop{};
    drop.x = RippleRandom(generator, state.width - 2) + 1;
    drop.y = RippleRandom(generator, state.height - 2) + 1;
    drop.size = RippleRandom(generator, state.sizeLimit) + 1;
    drop.strength = RippleRandom(generator, state.strengthLimit) + strengthOffset;
    return drop;
}

TEST(RippleAutoMode, RainAddsOneDropPerTickDrawnInItsOrder) {
    const Picture picture = PatternPicture(317, 310);
    RippleState state = StartedOn(picture, 2024);
    RippleSetAutoMode(state, kModeRain, 5, 4, 150);
    EXPECT_EQ(state.flags & kAutoModeOn, kAutoModeOn);
    for (int tick = 0; tick < 3; ++tick) {
        RippleState generator = GeneratorOf(state);
        const Drop drop = ForetoldRandomDrop(generator, state, 50);
        RippleAddAutomaticDrops(state);
        EXPECT_EQ(state.seed, generator.seed) << "one drop, four draws";
        EXPECT_GE(drop.strength, 50);
        EXPECT_LT(drop.strength, 200);
        const std::int32_t r = drop.size / 2;
        const bool fits =
            drop.x - r >= 1 && drop.x + r + 1 < state.width && drop.y - r >= 1 && drop.y + r + 1 < state.height;
        if (fits) {
            EXPECT_EQ(HeightAt(state, drop.x, drop.y), drop.strength);
        }
    }
}

TEST(RippleAutoMode, BurstsAddCountPlusOneDropsPerTick) {
    const Picture picture = PatternPicture(317, 310);
    RippleState state = StartedOn(picture, 77);
    RippleSetAutoMode(state, kModeBursts, 250, 4, 8);
    RippleState generator = GeneratorOf(state);
    for (int drop = 0; drop < 251; ++drop) {
        const Drop foretold = ForetoldRandomDrop(generator, state, 0);
        EXPECT_LT(foretold.strength, 8) << "no offset: strengths 0 to 7";
    }
    RippleAddAutomaticDrops(state);
    EXPECT_EQ(state.seed, generator.seed) << "251 drops of four draws each";
    EXPECT_TRUE(state.flags & kWaterMoving);

    RippleSetAutoMode(state, kModeBursts, -1, 4, 8);
    const std::int32_t seed = state.seed;
    RippleAddAutomaticDrops(state);
    EXPECT_EQ(state.seed, seed) << "a negative count adds no drop";
}

TEST(RippleAutoMode, TheWanderingDropStartsAtRandomAndStepsEverySecondTick) {
    const Picture picture = PatternPicture(317, 310);
    RippleState state = StartedOn(picture, 555);
    RippleState generator = GeneratorOf(state);
    const std::int32_t x = RippleRandom(generator, 315) + 1, y = RippleRandom(generator, 308) + 1;
    RippleSetAutoMode(state, kModeWanderingDrop, 5, 4, 250);
    EXPECT_EQ(state.wanderX, x);
    EXPECT_EQ(state.wanderY, y);
    EXPECT_EQ(state.wanderDx, 5);
    EXPECT_EQ(state.wanderDy, 5);

    state.wanderX = 100;
    state.wanderY = 50;
    RippleAddAutomaticDrops(state);
    EXPECT_EQ(state.wanderX, 100) << "the first tick after the start is an odd one";
    RippleAddAutomaticDrops(state);
    EXPECT_EQ(state.wanderX, 105);
    EXPECT_EQ(state.wanderY, 55);
    EXPECT_EQ(HeightAt(state, 105, 55), 250);
    EXPECT_EQ(HeightAt(state, 107, 57), 250) << "a size-4 drop covers 5 x 5 cells";
    RippleAddAutomaticDrops(state);
    EXPECT_EQ(state.wanderX, 105);
}

TEST(RippleAutoMode, TheWanderingDropReflectsAtEachEdge) {
    const Picture picture = PatternPicture(317, 310);
    RippleState state = StartedOn(picture, 1);
    RippleSetAutoMode(state, kModeWanderingDrop, 5, 4, 250);
    auto step = [&](std::int32_t x, std::int32_t y, std::int32_t dx, std::int32_t dy) {
        state.wanderX = x, state.wanderY = y, state.wanderDx = dx, state.wanderDy = dy;
        state.tickCounter = 1;  // the next tick moves
        RippleAddAutomaticDrops(state);
    };
    step(3, 100, -5, 5);  // 3 - 5 = -2, mirrored to 1 + 2
    EXPECT_EQ(state.wanderX, 3);
    EXPECT_EQ(state.wanderDx, 5);
    EXPECT_EQ(state.wanderY, 105);
    step(100, 2, 5, -5);  // 2 - 5 = -3, mirrored to 4
    EXPECT_EQ(state.wanderY, 4);
    EXPECT_EQ(state.wanderDy, 5);
    step(314, 100, 5, 5);  // 319 lies past 316 by 3: back to 313
    EXPECT_EQ(state.wanderX, 313);
    EXPECT_EQ(state.wanderDx, -5);
    step(100, 307, -5, 5);  // 312 lies past 309 by 3: back to 306
    EXPECT_EQ(state.wanderY, 306);
    EXPECT_EQ(state.wanderDy, -5);
    EXPECT_EQ(HeightAt(state, 95, 306), 250);
    step(1, 1, -5, -5);  // a corner mirrors both ways
    EXPECT_EQ(state.wanderX, 5);
    EXPECT_EQ(state.wanderY, 5);
    EXPECT_EQ(state.wanderDx, 5);
    EXPECT_EQ(state.wanderDy, 5);
}

TEST(RippleAutoMode, OffStopsTheDropsButLetsTheWaterSettle) {
    const Picture picture = PatternPicture(64, 48);
    RippleState state = StartedOn(picture, 31337);
    RippleSetAutoMode(state, kModeBursts, 250, 4, 8);
    for (int tick = 0; tick < 5; ++tick) RippleTick(state);
    RippleSetAutoMode(state, kModeOff, 0, 0, 0);
    EXPECT_EQ(state.mode, kModeOff);
    EXPECT_FALSE(state.flags & kAutoModeOn);
    EXPECT_EQ(state.count, 250) << "the other parameters stay";
    EXPECT_TRUE(state.flags & kWaterMoving);
    const std::int32_t seed = state.seed;
    int ticks = 0;
    while ((state.flags & kWaterMoving) && ticks < 5000) {
        RippleTick(state);
        ++ticks;
    }
    EXPECT_FALSE(state.flags & kWaterMoving) << "still moving after " << ticks << " ticks";
    EXPECT_EQ(state.seed, seed) << "no drop was added while it settled";
}

}  // namespace
}  // namespace quilvane::about
