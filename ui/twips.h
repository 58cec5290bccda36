#pragma once
// Places and sizes designed in twips (1440 per inch), turned into pixels with the screen's
// real dots per inch, so a window keeps its proportions on a high-DPI screen.

#include <windows.h>

namespace quilvane::ui {

inline constexpr int kTwipsPerInch = 1440;

// The screen's dots per inch along x (y is the same on every display Windows supports).
int ScreenDpi();

inline int TwipsToPixels(int twips, int dpi) { return MulDiv(twips, dpi, kTwipsPerInch); }
inline int PixelsToTwips(int pixels, int dpi) { return MulDiv(pixels, kTwipsPerInch, dpi); }

// A design rectangle in twips: left, top, width, height.
struct TwipsRect {
    int left, top, width, height;
    RECT ToPixels(int dpi) const {
        const int x = TwipsToPixels(left, dpi), y = TwipsToPixels(top, dpi);
        return RECT{x, y, x + TwipsToPixels(width, dpi), y + TwipsToPixels(height, dpi)};
    }
};

}  // namespace quilvane::ui
