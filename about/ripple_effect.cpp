#include "ripple_effect.h"

#include <cstdlib>
#include <new>
#include <vector>

namespace quilvane::about {
namespace {

constexpr UINT_PTR kTickTimer = 0x5157;

}  // namespace

bool RippleEffect::RippleStart(HWND window, HBITMAP picture, UINT period) {
    RippleStop();
    BITMAP size{};
    if (!picture || !GetObjectW(picture, sizeof size, &size) || size.bmWidth <= 0 || size.bmHeight == 0) return false;
    const int width = size.bmWidth, height = std::abs(size.bmHeight);
    description_ = BITMAPINFO{};
    description_.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    description_.bmiHeader.biWidth = width;
    description_.bmiHeader.biHeight = -height;  // top-down rows
    description_.bmiHeader.biPlanes = 1;
    description_.bmiHeader.biBitCount = 24;
    description_.bmiHeader.biCompression = BI_RGB;
    try {
        std::vector<std::uint8_t> pixels(static_cast<std::size_t>(RippleStride(width)) *
                                         static_cast<std::size_t>(height));
        ui::WindowDc screen(window);
        surface_.Reset(CreateCompatibleDC(screen.get()));
        surfaceBitmap_.Reset(CreateCompatibleBitmap(screen.get(), width, height));
        if (!surface_ || !surfaceBitmap_ ||
            GetDIBits(screen.get(), picture, 0, static_cast<UINT>(height), pixels.data(), &description_,
                      DIB_RGB_COLORS) != height) {
            RippleStop();
            return false;
        }
        SelectObject(surface_.get(), surfaceBitmap_.get());
        RippleBegin(state_, width, height, pixels.data(), static_cast<std::int32_t>(GetTickCount()));
    } catch (const std::bad_alloc&) {
        RippleStop();
        return false;
    }
    window_ = window;
    timerAndPaint_.Attach(window, [this](UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
        return OnWindowMessage(message, wParam, result);
    });
    SetTimer(window, kTickTimer, period, nullptr);
    ui::WindowDc dc(window);
    RippleBlit(dc.get(), true);
    return true;
}

void RippleEffect::RippleStop() {
    surface_.Reset();
    surfaceBitmap_.Reset();
    if (window_ && IsWindow(window_)) KillTimer(window_, kTickTimer);
    timerAndPaint_.Detach();
    window_ = nullptr;
    state_ = RippleState{};
}

void RippleEffect::RippleTick() {
    if (!Running()) return;
    about::RippleTick(state_);
    if (state_.flags & kFrameWaiting) {
        ui::WindowDc dc(window_);
        RippleBlit(dc.get(), false);
    }
}

void RippleEffect::RippleBlit(HDC dc, bool force) {
    if (!Running()) return;
    const bool waiting = (state_.flags & kFrameWaiting) != 0;
    if (!waiting && !force) return;
    if (waiting)
        SetDIBitsToDevice(surface_.get(), 0, 0, static_cast<DWORD>(state_.width), static_cast<DWORD>(state_.height), 0,
                          0, 0, static_cast<UINT>(state_.height), state_.outputPixels.data(), &description_,
                          DIB_RGB_COLORS);
    BitBlt(dc, 0, 0, state_.width, state_.height, surface_.get(), 0, 0, SRCCOPY);
    state_.flags &= ~kFrameWaiting;
}

void RippleEffect::RippleAddDrop(int x, int y, int size, int strength) {
    about::RippleAddDrop(state_, x, y, size, strength);
}

void RippleEffect::RippleSetAutoMode(int mode, int count, int sizeLimit, int strengthLimit) {
    about::RippleSetAutoMode(state_, mode, count, sizeLimit, strengthLimit);
}

bool RippleEffect::OnWindowMessage(UINT message, WPARAM wParam, LRESULT& result) {
    if (message == WM_TIMER && wParam == kTickTimer) {
        RippleTick();
        result = 0;
        return true;
    }
    if (message == WM_PAINT && Running()) {
        ui::PaintScope paint(window_);
        RippleBlit(paint.dc(), true);
        result = 0;
        return true;
    }
    return false;
}

}  // namespace quilvane::about
