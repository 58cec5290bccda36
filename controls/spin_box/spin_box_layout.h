#pragma once
// Where the spin box's parts sit for a given control width and font size, in twips. Kept
// apart from the window code so the arithmetic can be checked on its own.

namespace quilvane::controls::spin_layout {

inline constexpr int kMinWidth = 400;
inline constexpr int kHeight = 330;          // the control and its outline, always
inline constexpr int kArrowFromRight = 255;  // both arrows' left edge, from the right edge
inline constexpr int kArrowWidth = 225;
inline constexpr int kArrowHeight = 135;
inline constexpr int kUpTop = 30;
inline constexpr int kDownTop = 165;
inline constexpr int kTextLeft = 75;
inline constexpr int kTextTop = 60;
inline constexpr int kTextHeight = 210;
inline constexpr int kTextFromRight = 345;

struct Layout {
    int width = 0;  // never narrower than kMinWidth
    int arrowLeft = 0;
    int textWidth = 0;
    int textTop = 0;  // a font above 8 points lifts the text 15 twips a point
};

Layout LayOut(int requestedWidth, double fontPoints);

}  // namespace quilvane::controls::spin_layout
