#include "corner_notice_place.h"

#include <cmath>

namespace quilvane::power {
namespace {

double TwipsPerPixel(const ScreenArea& screen) { return 1440.0 / screen.dpi; }

}  // namespace

int WorkAreaBottomGap(const ScreenArea& screen) {
    return static_cast<int>(
        std::nearbyint((screen.heightPixels - screen.workAreaBottomPixels) * TwipsPerPixel(screen)));
}

PixelPoint NoticeTopLeft(const ScreenArea& screen) {
    const double perPixel = TwipsPerPixel(screen);
    const double left = screen.widthPixels * perPixel - kNoticeWidthTwips - kNoticeMarginTwips;
    const double top =
        screen.heightPixels * perPixel - kNoticeHeightTwips - WorkAreaBottomGap(screen) - kNoticeMarginTwips;
    return PixelPoint{static_cast<int>(std::lround(left / perPixel)), static_cast<int>(std::lround(top / perPixel))};
}

}  // namespace quilvane::power
