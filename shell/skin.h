#pragma once
// The program's look: every window handed to ApplyTo gets the same soft background, with
// captions drawn over it and fields kept white. It changes nothing a window does.

#include <windows.h>

#include <map>
#include <memory>

#include "handles.h"
#include "subclass.h"

namespace quilvane::shell {

class Skin {
public:
    Skin();
    Skin(const Skin&) = delete;
    Skin& operator=(const Skin&) = delete;

    // From now on the window and its children are drawn in the skin.
    void ApplyTo(HWND window);
    // The skin lets go of the window.
    void Release(HWND window);

private:
    static constexpr COLORREF kFace = RGB(236, 233, 216);

    bool Paint(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    ui::GdiObject<HBRUSH> face_;
    ui::GdiObject<HBRUSH> field_;
    std::map<HWND, std::unique_ptr<ui::Subclass>> skinned_;
};

}  // namespace quilvane::shell
