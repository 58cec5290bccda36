#pragma once
// The pieces the drop-down list is built from: a child window that hands its messages to the
// control that owns it, and the store of the drop button's four pictures.

#include <windows.h>

#include <array>
#include <functional>
#include <optional>

#include "handles.h"
#include "window.h"

namespace quilvane::controls {

// A child window of the control (the white panel, the drop button). Its handler answers a
// message with a result, or with nothing to leave it to the default processing.
class PartWindow : public ui::Window {
public:
    using Handler = std::function<std::optional<LRESULT>(UINT message, WPARAM wParam, LPARAM lParam)>;

    // Throws std::runtime_error when the window cannot be created.
    PartWindow(const wchar_t* className, HWND parent, const RECT& place, HBRUSH background, Handler handler);

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    Handler handler_;
};

// The drop button's pictures, numbered as the button shows them.
class ButtonPictures {
public:
    static constexpr int kNormal = 0, kHover = 1, kPressed = 2, kDisabled = 3;

    // Loads them, drawn for the screen's scale, from the executable's resources; a missing
    // one leaves its slot empty.
    explicit ButtonPictures(int dpi);
    HBITMAP Slot(int slot) const { return slots_.at(slot).get(); }

private:
    std::array<ui::GdiObject<HBITMAP>, 4> slots_;
};

// Draws `picture` stretched over the whole client area of `window`.
void PaintPicture(HWND window, HBITMAP picture);

}  // namespace quilvane::controls
