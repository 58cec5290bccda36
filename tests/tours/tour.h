#pragma once
// Drives the real program the way a person does: starts it in a folder of its own, waits for
// its windows, moves the real pointer and presses real keys (SendInput) at the places the
// design gives the controls, and reads back what is on the screen. Every wait polls with a
// deadline, so a slow machine makes a tour slower, not flaky.

#include <windows.h>

#include <chrono>
#include <functional>
#include <initializer_list>
#include <span>
#include <string>

#include "control_design.h"

namespace quilvane::tours {

// How long a window or an effect may take to appear before the tour gives up.
inline constexpr std::chrono::milliseconds kPatience{60'000};

// QuilvaneSplitter.exe of this build, as Windows sees its path.
std::string ProgramPath();

class Program {
public:
    // Copies the executable into `appDir` (which becomes the program's own folder, with its
    // Sysset.ini) and starts it there with `arguments`.
    Program(const std::string& exePath, const std::string& appDir, const std::wstring& arguments = L"");
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    // Ends the program if it is still running.
    ~Program();

    // The program's visible top-level window with this exact title; null after the deadline.
    HWND WaitForWindow(const std::wstring& title, std::chrono::milliseconds patience = kPatience) const;
    bool WaitForExit(std::chrono::milliseconds patience = kPatience) const;
    bool Running() const;
    DWORD processId() const { return process_.dwProcessId; }

private:
    PROCESS_INFORMATION process_{};
};

// Polls `condition` until it holds; false when the deadline passes first.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds patience = kPatience);

// The screen point at the centre of a design rectangle given in twips relative to the client
// area of `window`, converted with the screen's DPI.
POINT ScreenPointOf(HWND window, const ui::TwipsRect& designPlace);
// A control's designed place in its window's client area, through its containers.
ui::TwipsRect PlaceInWindow(std::span<const ui::ControlDesign> design, int id);
// The centre of a window on the screen.
POINT CentreOf(HWND window);

void MoveTo(POINT screen);
void Click(POINT screen);
void RightClick(POINT screen);
void DoubleClick(POINT screen);
// Brings `window` to the front and waits until one of its controls has the keyboard focus, so
// that the keys that follow reach it.
void BringToFront(HWND window);
// Each character as the keyboard would type it.
void TypeText(const std::wstring& text);
// One key, with modifier keys held around it (VK_SHIFT, VK_CONTROL, VK_MENU).
void PressKey(WORD key, std::initializer_list<WORD> held = {});
void PutOnClipboard(const std::wstring& text);

std::wstring TextOf(HWND window);
// The control that has the keyboard focus in `window`'s thread.
HWND FocusedIn(HWND window);
// Waits until the keyboard focus is in `control` (or in a part of it, as the text box of a
// combo box). Keys are delivered to where the focus is when they are sent, so a tour waits for
// this after a click and before it types.
bool FocusReaches(HWND control, std::chrono::milliseconds patience = kPatience);
// The outer size of a window, in pixels.
SIZE OuterSize(HWND window);

// A "提示" message box of the program; null after the deadline.
HWND WaitForNotice(const Program& program, std::chrono::milliseconds patience = kPatience);
std::wstring NoticeText(HWND notice);
// Clicks its OK button (or, for a question, `button`: IDYES, IDNO) and waits until it is gone.
void CloseNotice(HWND notice, int button = IDOK);
// The text of the program's next notice, which is then closed as a person closes it.
std::wstring TakeNotice(const Program& program, int button = IDOK);

}  // namespace quilvane::tours
