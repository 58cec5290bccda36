#pragma once
// The program's message loops. Every loop hands keys to the keyboard navigation of the
// window they are meant for before dispatching them, so Tab, arrows, Enter, Space and Alt
// accelerators work the same in every window.

#include <windows.h>

namespace quilvane::ui {

// Gives keyboard navigation its chance, then translates and dispatches the message.
void DispatchWithNavigation(MSG& message);

// Runs until WM_QUIT; returns its exit code.
int RunMessageLoop();

// Lets every pending message run and returns. A quit request is left in the queue for the
// outer loop; the result is false when one came.
bool PumpPendingMessages();

// Shows `window` over `owner` and returns when `window` has been hidden or destroyed; the
// owner takes no input meanwhile. Timers and other windows keep running.
void ShowModal(HWND window, HWND owner);

}  // namespace quilvane::ui
