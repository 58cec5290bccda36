#include "message_loop.h"

#include "keyboard_navigation.h"

namespace quilvane::ui {

void DispatchWithNavigation(MSG& message) {
    if (TranslateNavigationKey(message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

int RunMessageLoop() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchWithNavigation(message);
    return static_cast<int>(message.wParam);
}

bool PumpPendingMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        DispatchWithNavigation(message);
    }
    return true;
}

void ShowModal(HWND window, HWND owner) {
    const bool ownerWasEnabled = owner && !EnableWindow(owner, FALSE);
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    MSG message;
    // A window that hides or destroys itself posts a WM_NULL (see Window), so this wakes up.
    while (IsWindow(window) && IsWindowVisible(window)) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            PostQuitMessage(got == 0 ? static_cast<int>(message.wParam) : 1);
            break;
        }
        DispatchWithNavigation(message);
    }
    if (ownerWasEnabled && IsWindow(owner)) {
        EnableWindow(owner, TRUE);
        SetForegroundWindow(owner);
    }
}

}  // namespace quilvane::ui
