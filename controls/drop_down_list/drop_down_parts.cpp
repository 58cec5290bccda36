#include "drop_down_parts.h"

#include <stdexcept>

#include "drop_down_list_resources.h"
#include "scaled_picture.h"

namespace quilvane::controls {

PartWindow::PartWindow(const wchar_t* className, HWND parent, const RECT& place, HBRUSH background, Handler handler)
    : handler_(std::move(handler)) {
    CreateArgs args = CreateArgs::Child(className, parent, 0, place);
    args.style |= WS_CLIPCHILDREN;
    // A quick second press on the drop button is a press like any other, not a double click.
    args.classStyle = 0;
    args.background = background;
    if (!Create(args)) throw std::runtime_error("cannot create a part of the drop-down list");
}

LRESULT PartWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (handler_) {
        if (const auto result = handler_(message, wParam, lParam)) return *result;
    }
    return Default(message, wParam, lParam);
}

ButtonPictures::ButtonPictures(int dpi) {
    constexpr int kIds[] = {IDB_DROP_BUTTON_NORMAL, IDB_DROP_BUTTON_HOVER, IDB_DROP_BUTTON_PRESSED,
                            IDB_DROP_BUTTON_DISABLED};
    for (std::size_t slot = 0; slot < slots_.size(); ++slot) slots_[slot] = ui::LoadScaledPicture(kIds[slot], dpi);
}

void PaintPicture(HWND window, HBITMAP picture) {
    ui::PaintScope paint(window);
    RECT client{};
    GetClientRect(window, &client);
    if (!picture) {
        FillRect(paint.dc(), &client, GetSysColorBrush(COLOR_BTNFACE));
        return;
    }
    BITMAP size{};
    GetObjectW(picture, sizeof size, &size);
    ui::MemoryDc source(CreateCompatibleDC(paint.dc()));
    ui::Selection selected(source.get(), picture);
    SetStretchBltMode(paint.dc(), COLORONCOLOR);
    StretchBlt(paint.dc(), 0, 0, client.right, client.bottom, source.get(), 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
}

}  // namespace quilvane::controls
