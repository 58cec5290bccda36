#include "subclass.h"

#include <commctrl.h>

#include <optional>

#include "guarded.h"
#include "window.h"

namespace quilvane::ui {

// Each object is its own subclass id, so several handlers can sit in front of one window.
void Subclass::Attach(HWND window, Handler handler) {
    Detach();
    handler_ = std::move(handler);
    if (SetWindowSubclass(window, Procedure, reinterpret_cast<UINT_PTR>(this), reinterpret_cast<DWORD_PTR>(this)))
        window_ = window;
}

void Subclass::Detach() {
    if (window_) RemoveWindowSubclass(window_, Procedure, reinterpret_cast<UINT_PTR>(this));
    window_ = nullptr;
}

LRESULT CALLBACK Subclass::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR self) {
    auto* subclass = reinterpret_cast<Subclass*>(self);
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, Procedure, id);
        subclass->window_ = nullptr;
        return DefSubclassProc(window, message, wParam, lParam);
    }
    const std::optional<LRESULT> handled = Guarded(
        [&]() -> std::optional<LRESULT> {
            LRESULT result = 0;
            if (subclass->handler_ && subclass->handler_(message, wParam, lParam, result)) return result;
            return std::nullopt;
        },
        [&](const char* what) -> std::optional<LRESULT> {
            ReportUnexpected(window, what);
            return 0;
        });
    return handled ? *handled : DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace quilvane::ui
