#pragma once
// The About picture for the screen's DPI: the drawing nearest to it, stretched to the exact
// scale when the DPI lies between the drawn ones, so that it lines up with the window's
// controls (placed in twips) at every DPI.

#include <windows.h>

#include "handles.h"

namespace quilvane::about {

// The picture's size at 96 dots per inch.
inline constexpr int kAboutPictureWidth = 317;
inline constexpr int kAboutPictureHeight = 310;

// Empty when the picture cannot be loaded.
ui::GdiObject<HBITMAP> AboutPictureFor(int dpi);

}  // namespace quilvane::about
