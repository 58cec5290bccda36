// Where the corner notice lands for taskbars on every side and at two screen resolutions.

#include "corner_notice_place.h"

#include <gtest/gtest.h>

namespace quilvane::power {
namespace {

TEST(CornerNoticePlace, SitsAboveABottomTaskbarAndInFromTheRightEdge) {
    const ScreenArea screen{1280, 1024, 994, 96};  // a 30-pixel taskbar at the bottom
    EXPECT_EQ(WorkAreaBottomGap(screen), 450);
    const PixelPoint at = NoticeTopLeft(screen);
    // 3420 x 930 twips are 228 x 62 pixels; 39 twips are 2.6 pixels.
    EXPECT_EQ(at.x, 1049);
    EXPECT_EQ(at.y, 1024 - 30 - 62 - 3);
}

TEST(CornerNoticePlace, TaskbarsElsewhereLeaveNoGapAtTheBottom) {
    // Work areas of a taskbar at the top, the left and the right all end at the screen's bottom.
    const ScreenArea screen{1280, 1024, 1024, 96};
    EXPECT_EQ(WorkAreaBottomGap(screen), 0);
    EXPECT_EQ(NoticeTopLeft(screen).y, 1024 - 62 - 3);
}

TEST(CornerNoticePlace, FollowsTheScreensRealResolution) {
    const ScreenArea screen{1920, 1080, 1020, 144};  // 10 twips to the pixel
    EXPECT_EQ(WorkAreaBottomGap(screen), 600);
    const PixelPoint at = NoticeTopLeft(screen);
    EXPECT_EQ(at.x, 1920 - 342 - 4);
    EXPECT_EQ(at.y, 1080 - 93 - 60 - 4);
}

TEST(CornerNoticePlace, GapHalvesGoToTheEvenTwip) {
    // At 192 dots per inch a pixel is 7.5 twips.
    EXPECT_EQ(WorkAreaBottomGap({2560, 1440, 1439, 192}), 8);
    EXPECT_EQ(WorkAreaBottomGap({2560, 1440, 1437, 192}), 22);
    EXPECT_EQ(WorkAreaBottomGap({2560, 1440, 1435, 192}), 38);
}

}  // namespace
}  // namespace quilvane::power
