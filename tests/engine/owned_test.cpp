#include "owned.h"

#include <vector>

#include <gtest/gtest.h>

#include "installed.h"

namespace quilvane {
namespace {

// Every handle the owners below release, in order.
std::vector<int> released;
void Record(int handle) { released.push_back(handle); }
using Tracked = Owned<int, Record, -1>;

class OwnedHandle : public ::testing::Test {
protected:
    void SetUp() override { released.clear(); }
};

TEST_F(OwnedHandle, AMovedHandleIsReleasedOnceByItsLastOwner) {
    {
        Tracked first(3);
        Tracked second(std::move(first));
        EXPECT_FALSE(first);
        Tracked third;
        third = std::move(second);
        EXPECT_EQ(third.get(), 3);
        EXPECT_TRUE(released.empty()) << "released while still owned";
    }
    EXPECT_EQ(released, std::vector<int>{3});
}

TEST_F(OwnedHandle, TakingAnotherHandleReleasesTheOldOneFirst) {
    Tracked held(4), other(5);
    held = std::move(other);
    EXPECT_EQ(released, std::vector<int>{4});
    held.Reset(6);
    EXPECT_EQ(released, (std::vector<int>{4, 5}));
    Tracked& same = held;
    held = std::move(same);
    EXPECT_EQ(held.get(), 6) << "moving onto itself must keep the handle";
    EXPECT_EQ(released, (std::vector<int>{4, 5}));
}

TEST_F(OwnedHandle, TheEmptyValueAndADisownedHandleAreNeverReleased) {
    {
        Tracked nothing;
        Tracked given(7);
        EXPECT_EQ(given.Disown(), 7);
        EXPECT_FALSE(given);
        Tracked zero(0);  // 0 is a handle like any other when -1 means none
        EXPECT_TRUE(zero);
    }
    EXPECT_EQ(released, std::vector<int>{0});
}

struct Service {
    int id = 0;
};
Service& Fallback() {
    static Service fallback{1};
    return fallback;
}

TEST(InstalledService, TheFallbackStandsInUntilAnotherIsInstalled) {
    using Slot = Installed<Service, Fallback>;
    EXPECT_EQ(Slot::Get().id, 1);
    static Service installed{2};
    Slot::Install(installed);
    EXPECT_EQ(&Slot::Get(), &installed);
}

}  // namespace
}  // namespace quilvane
