#pragma once
// ct: the program's numeric spin box. A text box for a number with an up and a down arrow at
// its right end, inside a one-pixel outline, drawn from pictures so that it matches the
// skinned windows. An arrow click steps the value by LargeChange while it is below Max (up)
// or above Min (down), without clamping, and moves the focus off the number. Only digits
// and Backspace can be typed. The value is not kept apart: it is the number the text starts
// with.

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "font.h"
#include "handles.h"
#include "property_bag.h"
#include "subclass.h"
#include "window.h"

namespace quilvane::controls {

class SpinBox : public ui::Window {
public:
    // Creates the control as child `id` of `host` at `place` (pixels; the height always becomes
    // 330 twips and the width at least 400). `hostFont` is the host's font, the one a stored
    // layout applies unless it stored another; without one, 宋体 9 points. Until then the
    // number shows in Tahoma 8.25 points. Throws std::runtime_error when a window or picture
    // cannot be made.
    SpinBox(HWND host, const RECT& place, int id = 0, ui::SharedFont hostFont = nullptr);
    ~SpinBox() override;

    // Raised on every change of the number's text: typed, set, or stepped by an arrow.
    std::function<void()> Change;
    // A setter changed the persisted property of this name ("Value", "Max", ...).
    std::function<void(const std::string& name)> PropertyChanged;

    // The arrows go back to their resting pictures.
    void ResetPic();

    // Disabled, the arrows turn grey, the outline light grey and the number cannot be edited.
    bool Enabled() const;
    void SetEnabled(bool enabled);
    HWND hWnd() const { return hwnd(); }
    // A locked number cannot be typed over; the arrows still step it.
    bool Locked() const;
    void SetLocked(bool locked);
    std::wstring Text() const;
    void SetText(const std::wstring& text);
    // Neither is checked against the other.
    std::int32_t Max() const { return max_; }
    void SetMax(std::int32_t max);
    std::int32_t Min() const { return min_; }
    void SetMin(std::int32_t min);
    // Any step, zero and negative ones included.
    double LargeChange() const { return largeChange_; }
    void SetLargeChange(double step);
    // The number the text starts with (0 when it starts with none). Setting it writes the
    // number as text, not clamped to Min and Max.
    double Value() const;
    void SetValue(double value);
    // The number's font; the control lays itself out again for its size. Must not be null.
    const ui::SharedFont& Font() const { return font_; }
    void SetFont(ui::SharedFont font);

    // Life with the host's property bag. Values equal to their defaults are not stored.
    void InitProperties();
    void ReadProperties(const ui::PropertyBag& bag);
    void WriteProperties(ui::PropertyBag& bag) const;

    // A click on an arrow (a left button pressed and released on it).
    void ImgUp_Click();
    void ImgDown_Click();

    // The picture store's slots, and what the control shows, for hosts and tests.
    enum Slot : int {
        kDownHover,
        kDownNormal,
        kUpNormal,
        kDownPressed,
        kUpPressed,
        kUpHover,
        kUpDisabled,
        kDownDisabled
    };
    int UpSlot() const { return upSlot_; }
    int DownSlot() const { return downSlot_; }
    COLORREF OutlineColour() const { return outline_; }
    HWND TextBoxWindow() const { return textBox_; }
    HWND FocusSinkWindow() const { return focusSink_; }
    // In the control's client pixels.
    RECT UpArrowRect() const { return upRect_; }
    RECT DownArrowRect() const { return downRect_; }

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    enum class Part { None, Up, Down };

    void LoadPictures();
    void ApplyFont();
    void SetLayout();
    void ShowSlots(int up, int down);
    void SetOutline(COLORREF colour);
    void Paint();
    void Notify(const char* name);
    Part PartAt(POINT at) const;
    void OnPointerMove(POINT at);
    void OnButtonDown(UINT message, POINT at);
    void OnLeftButtonUp(POINT at);
    bool OnTextBoxMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    int dpi_;
    ui::SharedFont hostFont_;
    ui::SharedFont font_;
    ui::GdiObject<HFONT> gdiFont_;
    std::array<ui::GdiObject<HBITMAP>, 8> pictures_;
    int upSlot_ = kUpNormal;
    int downSlot_ = kDownNormal;
    COLORREF outline_;
    RECT upRect_{};
    RECT downRect_{};
    Part pressed_ = Part::None;  // where the left button went down
    bool layingOut_ = false;

    std::int32_t max_ = 32000;
    std::int32_t min_ = -32000;
    short decimals_ = 0;  // stored as "Decimal" and kept; it changes nothing
    double largeChange_ = 1;
    double storedValue_ = 0;  // stored as "Value" and kept; the value itself is the text's

    HWND textBox_ = nullptr;    // TxtSpin, the number
    HWND focusSink_ = nullptr;  // Text1, outside the visible area: takes the focus off the number
    ui::Subclass textBoxEvents_;
};

}  // namespace quilvane::controls
