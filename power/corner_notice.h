#pragma once
// Mitease, the corner notice: a small borderless window in the screen's bottom-right corner,
// just above the taskbar, with a title strip, a close glyph and three lines of text. It is
// not in the taskbar, never takes the focus from the window the user is working in, and
// closes itself when its time is up or its close glyph is clicked.

#include <windows.h>

#include <array>
#include <functional>
#include <string>

#include "corner_notice_place.h"
#include "form_lifetime.h"
#include "handles.h"
#include "window.h"

namespace quilvane::power {

class Mitease : public ui::Window {
public:
    // The screen the notice is placed on: its size, work area and dots per inch.
    using ScreenReader = std::function<ScreenArea()>;

    explicit Mitease(ScreenReader screen = SystemScreen);
    ~Mitease() override;

    // Places, fills and shows the notice, creating its window when it has none, and gives it
    // `seconds` (1 to 32; anything else is taken as the nearer of the two). A notice already
    // shown is moved, refilled and timed anew.
    void ShowCornerNotice(const std::wstring& line1, const std::wstring& line2, const std::wstring& line3, int seconds);

    // The close glyph was clicked; the notice closes as when its time is up.
    void P_Click();
    // The notice's time is up: it closes.
    void Timer1_Timer();

    // What is on screen, for the host's tests.
    bool Shown() const { return hwnd() && IsWindowVisible(hwnd()); }
    std::wstring Line(int index) const;
    int DisplayMilliseconds() const { return displayMs_; }
    RECT CloseGlyphRect() const { return glyphRect_; }  // client pixels

    static ScreenArea SystemScreen();

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool CreateNotice();
    void Unload();
    void Paint();

    ScreenReader screen_;
    int dpi_ = 96;
    ui::GdiObject<HFONT> titleFont_;
    ui::GdiObject<HFONT> lineFont_;
    ui::GdiObject<HBRUSH> stripBrush_;
    ui::GdiObject<HBRUSH> bodyBrush_;
    HWND title_ = nullptr;         // Label1
    std::array<HWND, 3> lines_{};  // lbl0, lbl1, lbl2
    RECT stripRect_{};             // Picture1
    RECT glyphRect_{};             // P
    bool glyphPressed_ = false;
    int displayMs_ = 0;
    ui::LoadedForm loaded_;
};

}  // namespace quilvane::power
