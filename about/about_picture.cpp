#include "about_picture.h"

#include "about_picture_resources.h"
#include "scaled_picture.h"

namespace quilvane::about {

ui::GdiObject<HBITMAP> AboutPictureFor(int dpi) {
    ui::GdiObject<HBITMAP> nearest = ui::LoadScaledPicture(IDB_ABOUT_PICTURE, dpi);
    BITMAP drawn{};
    if (!nearest || !GetObjectW(nearest.get(), sizeof drawn, &drawn)) return {};
    const int width = MulDiv(kAboutPictureWidth, dpi, 96), height = MulDiv(kAboutPictureHeight, dpi, 96);
    if (drawn.bmWidth == width && drawn.bmHeight == height) return nearest;

    ui::WindowDc screen(nullptr);
    ui::GdiObject<HBITMAP> stretched(CreateCompatibleBitmap(screen.get(), width, height));
    ui::MemoryDc from(CreateCompatibleDC(screen.get())), to(CreateCompatibleDC(screen.get()));
    if (!stretched || !from || !to) return nearest;
    {
        ui::Selection source(from.get(), nearest.get()), target(to.get(), stretched.get());
        SetStretchBltMode(to.get(), HALFTONE);
        SetBrushOrgEx(to.get(), 0, 0, nullptr);
        StretchBlt(to.get(), 0, 0, width, height, from.get(), 0, 0, drawn.bmWidth, drawn.bmHeight, SRCCOPY);
    }
    return stretched;
}

}  // namespace quilvane::about
