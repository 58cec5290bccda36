#include "scaled_picture.h"

#include <cstdlib>

namespace quilvane::ui {

int NearestPictureScale(int dpi) {
    const int percent = MulDiv(dpi, 100, 96);
    int nearest = 0;
    for (int index = 1; index < kIdsPerScaledPicture; ++index)
        if (std::abs(kPictureScales[index] - percent) < std::abs(kPictureScales[nearest] - percent)) nearest = index;
    return nearest;
}

GdiObject<HBITMAP> LoadScaledPicture(int firstId, int dpi) {
    return GdiObject<HBITMAP>(
        static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(firstId + NearestPictureScale(dpi)),
                                        IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
}

int ScaledPictureLength(int pixels, int dpi) { return MulDiv(pixels, kPictureScales[NearestPictureScale(dpi)], 100); }

}  // namespace quilvane::ui
