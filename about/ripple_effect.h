#pragma once
// The water effect on a window: the core's state, a memory surface holding the latest frame,
// and a timer of the window whose every tick advances the water and copies a changed frame to
// it. While the effect runs it also repaints the window from its surface. It ends with
// RippleStop, when the object goes, or with the window; a new start first releases the last.

#include <windows.h>

#include "handles.h"
#include "ripple.h"
#include "subclass.h"

namespace quilvane::about {

class RippleEffect {
public:
    RippleEffect() = default;
    RippleEffect(const RippleEffect&) = delete;
    RippleEffect& operator=(const RippleEffect&) = delete;
    ~RippleEffect() { RippleStop(); }

    // Starts the effect on `window` with the picture `picture` (any bitmap, read once) and a
    // tick every `period` ms, and shows the first frame. False when the picture's size cannot
    // be read or the surfaces or buffers cannot be made: then nothing is kept and nothing runs.
    bool RippleStart(HWND window, HBITMAP picture, UINT period);
    // Releases the surfaces and buffers and stops the timer.
    void RippleStop();
    // The timer's work: moves the water and shows a changed frame.
    void RippleTick();
    // Copies the latest frame to `dc` when one waits to be shown, or always when `force` is set
    // (a window that repaints). Nothing when the effect is not running.
    void RippleBlit(HDC dc, bool force);

    // Picture coordinates; see the core for what they do. Harmless while not running.
    void RippleAddDrop(int x, int y, int size, int strength);
    void RippleSetAutoMode(int mode, int count, int sizeLimit, int strengthLimit);

    bool Running() const { return static_cast<bool>(surface_); }
    const RippleState& State() const { return state_; }

private:
    bool OnWindowMessage(UINT message, WPARAM wParam, LRESULT& result);

    RippleState state_;
    HWND window_ = nullptr;
    ui::Subclass timerAndPaint_;  // the window's timer ticks and repaints reach the effect here
    BITMAPINFO description_{};    // top-down 24-bit rows, for every transfer of pixels
    ui::GdiObject<HBITMAP> surfaceBitmap_;
    ui::MemoryDc surface_;  // declared after its bitmap, so it is deleted first and lets go of it
};

}  // namespace quilvane::about
