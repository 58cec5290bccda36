#pragma once
// Owners of Win32 handles: each releases what it holds exactly once and cannot be copied.

#include <windows.h>
#include <shellapi.h>

#include "owned.h"

namespace quilvane::ui {

using quilvane::Owned;

inline void DeleteGdiObject(HGDIOBJ object) { DeleteObject(object); }
inline void DestroyMenuHandle(HMENU menu) { DestroyMenu(menu); }
inline void DestroyIconHandle(HICON icon) { DestroyIcon(icon); }
inline void DeleteMemoryDc(HDC dc) { DeleteDC(dc); }
inline void FinishDrop(HDROP drop) { DragFinish(drop); }

template <class GdiHandle>
using GdiObject = Owned<GdiHandle, DeleteGdiObject>;
using OwnedMenu = Owned<HMENU, DestroyMenuHandle>;
using OwnedIcon = Owned<HICON, DestroyIconHandle>;
using MemoryDc = Owned<HDC, DeleteMemoryDc>;
// The files of a WM_DROPFILES, which the system keeps until the drop is finished.
using DroppedFiles = Owned<HDROP, FinishDrop>;

// The device context of a window, released to it at the end of the scope.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() { ReleaseDC(window_, dc_); }
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// An object selected into a device context until the end of the scope.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
    ~Selection() { SelectObject(dc_, previous_); }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// BeginPaint and EndPaint around a WM_PAINT handler.
class PaintScope {
public:
    explicit PaintScope(HWND window) : window_(window) { BeginPaint(window, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    ~PaintScope() { EndPaint(window_, &paint_); }
    HDC dc() const { return paint_.hdc; }
    const RECT& area() const { return paint_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
};

// The clipboard, opened for `window` until the end of the scope; `opened()` is false when
// another program holds it.
class ClipboardScope {
public:
    explicit ClipboardScope(HWND window) : opened_(OpenClipboard(window) != FALSE) {}
    ClipboardScope(const ClipboardScope&) = delete;
    ClipboardScope& operator=(const ClipboardScope&) = delete;
    ~ClipboardScope() {
        if (opened_) CloseClipboard();
    }
    bool opened() const { return opened_; }

private:
    bool opened_;
};

// Global memory (the clipboard's data) locked until the end of the scope; `get()` is null when
// there is none or it cannot be locked.
class LockedMemory {
public:
    explicit LockedMemory(HANDLE memory) : memory_(memory), data_(memory ? GlobalLock(memory) : nullptr) {}
    LockedMemory(const LockedMemory&) = delete;
    LockedMemory& operator=(const LockedMemory&) = delete;
    ~LockedMemory() {
        if (data_) GlobalUnlock(memory_);
    }
    const void* get() const { return data_; }

private:
    HANDLE memory_;
    void* data_;
};

}  // namespace quilvane::ui
