#pragma once
// Where the drop-down list's parts sit for a given control width and text size, in twips.
// Kept apart from the window code so the arithmetic can be checked on its own.

namespace quilvane::controls {

struct DropDownLayout {
    int width = 0;       // the control, never narrower than kMinWidth
    int height = 0;      // the control, always kHeight
    int buttonLeft = 0;  // the drop button, kButtonFromRight left of the control's right edge
    int textWidth = 0;   // the text box
    double textTop = 0;  // larger text rises so it stays inside the frame
};

inline constexpr int kMinWidth = 400;
inline constexpr int kHeight = 315;
inline constexpr int kButtonFromRight = 285;
inline constexpr int kButtonTop = 30;
inline constexpr int kButtonSize = 255;
inline constexpr int kTextLeft = 75;
inline constexpr int kTextTop = 60;
inline constexpr int kTextHeight = 195;
inline constexpr int kTextFromRight = 375;

DropDownLayout LayOutDropDown(int requestedWidth, double fontPoints);

}  // namespace quilvane::controls
