#include "spin_box_layout.h"

#include <algorithm>
#include <cmath>

namespace quilvane::controls::spin_layout {

Layout LayOut(int requestedWidth, double fontPoints) {
    Layout layout;
    layout.width = std::max(requestedWidth, kMinWidth);
    layout.arrowLeft = layout.width - kArrowFromRight;
    layout.textWidth = layout.width - kTextFromRight;
    layout.textTop = kTextTop;
    // Whole points over 8, halves to even: 10.5 points lift it 2 x 15 twips, 11.5 points 4 x 15.
    if (fontPoints > 8) layout.textTop -= static_cast<int>(std::nearbyint(fontPoints - 8)) * 15;
    return layout;
}

}  // namespace quilvane::controls::spin_layout
