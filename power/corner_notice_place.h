#pragma once
// Where the corner notice goes: 39 twips in from the screen's right edge, and 39 twips above
// the strip below the work area (the taskbar when it sits at the bottom; nothing when it
// sits elsewhere). Lengths in twips are converted with the screen's real dots per inch.

namespace quilvane::power {

inline constexpr int kNoticeWidthTwips = 3420;
inline constexpr int kNoticeHeightTwips = 930;
inline constexpr int kNoticeMarginTwips = 39;

struct ScreenArea {
    int widthPixels = 0;
    int heightPixels = 0;
    int workAreaBottomPixels = 0;
    int dpi = 96;
};

struct PixelPoint {
    int x = 0;
    int y = 0;
};

// The height in twips of the strip below the work area, to the nearest twip (halves to even).
int WorkAreaBottomGap(const ScreenArea& screen);

// The notice's top-left corner on the screen, in pixels.
PixelPoint NoticeTopLeft(const ScreenArea& screen);

}  // namespace quilvane::power
