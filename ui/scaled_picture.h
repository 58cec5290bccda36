#pragma once
// Pictures that follow the screen's DPI. Each picture is drawn by its script at 100, 125, 150
// and 200 % and stored under four consecutive resource ids, in that order; the program shows
// the one nearest to the screen's scale.

#include <windows.h>

#include "handles.h"

namespace quilvane::ui {

inline constexpr int kPictureScales[] = {100, 125, 150, 200};  // percent, in resource id order
inline constexpr int kIdsPerScaledPicture = 4;

// 0 for 100 %, 1 for 125 %, 2 for 150 %, 3 for 200 %: the scale nearest to `dpi` / 96.
int NearestPictureScale(int dpi);

// The picture stored at `firstId` + NearestPictureScale(dpi); empty when it is missing.
GdiObject<HBITMAP> LoadScaledPicture(int firstId, int dpi);

// A length of `pixels` at 100 % in the picture chosen for `dpi`.
int ScaledPictureLength(int pixels, int dpi);

}  // namespace quilvane::ui
