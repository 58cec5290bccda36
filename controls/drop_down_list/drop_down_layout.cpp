#include "drop_down_layout.h"

#include <algorithm>

namespace quilvane::controls {

DropDownLayout LayOutDropDown(int requestedWidth, double fontPoints) {
    DropDownLayout layout;
    layout.width = std::max(requestedWidth, kMinWidth);
    layout.height = kHeight;
    layout.buttonLeft = layout.width - kButtonFromRight;
    layout.textWidth = layout.width - kTextFromRight;
    // A text size above 9 points lifts the text box 15 twips per point over 8.
    layout.textTop = fontPoints > 9 ? kTextTop - (fontPoints - 8) * 15 : kTextTop;
    return layout;
}

}  // namespace quilvane::controls
