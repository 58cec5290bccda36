#pragma once
// The program's own three-state check box: a 13 x 13 glyph and a caption on a striped
// background, drawn from pictures so that it matches the skinned windows. The glyph changes
// while the pointer hovers over it, while a button is held on it and while it is disabled;
// the control tells its host when the pointer has left it by polling the pointer every 10 ms.
//
// Pointer coordinates in the mouse events are pixels: of the control, or of the glyph when
// the pointer is over the glyph.
//
// For the keyboard and for other programs it acts as a button: it can take the focus (and
// shows it around the caption), BM_CLICK clicks it, BM_GETCHECK reads its value and its
// window text is its caption.

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "font.h"
#include "handles.h"
#include "property_bag.h"
#include "window.h"

namespace quilvane::controls {

class CheckBox : public ui::Window {
public:
    // Where the caption starts, from the control's left edge.
    static constexpr int kCaptionLeftTwips = 240;

    // What the host tells its controls: the name it gave this instance and its own font.
    struct Ambient {
        std::wstring displayName;
        ui::SharedFont font;  // null stands for the default font
    };

    // Creates the control as child `id` of `parent` at `pixels` (parent client coordinates).
    // False when the window or one of its pictures could not be made.
    bool Create(HWND parent, int id, const RECT& pixels, Ambient ambient);

    // Host lifecycle: a new instance, an instance loaded from the host's stored layout, and
    // saving it. Values equal to their defaults are not stored.
    void InitProperties();
    void ReadProperties(const ui::PropertyBag& bag);
    void WriteProperties(ui::PropertyBag& bag) const;

    // 0 clear, 1 ticked, 2 grayed. Any other value is kept and stored, but keeps the glyph as
    // it was and is not changed by a click. Setting it raises no Click.
    std::int32_t Value() const { return value_; }
    void SetValue(std::int32_t value);
    // The value a click leaves: 0 and 1 swap, grayed becomes clear, any other value stays.
    static std::int32_t ValueAfterClick(std::int32_t value);

    const std::wstring& Caption() const { return caption_; }
    void SetCaption(const std::wstring& caption);

    // The window's own enabled state; EnableWindow on the control has the same effect.
    bool Enabled() const;
    void SetEnabled(bool enabled);

    // The very object given, shared with whoever else holds it. Must not be null.
    const ui::SharedFont& Font() const { return font_; }
    void SetFont(ui::SharedFont font);

    // Colours are 0x00BBGGRR; a value with the top bit set names a system colour.
    COLORREF BackColor() const { return backColor_; }
    void SetBackColor(COLORREF colour);
    // The caption's colour while the control is enabled.
    COLORREF ForeColor() const { return foreColor_; }
    void SetForeColor(COLORREF colour);

    // Events, raised synchronously; a handler may change its arguments, the control does not
    // read them back. Button: 1 left, 2 right, 4 middle (held buttons combined in MouseMove);
    // Shift: 1 Shift, 2 Ctrl, 4 Alt.
    std::function<void()> Click;  // before the value changes
    std::function<void(short& keyCode, short& shift)> KeyDown;
    std::function<void(short& keyAscii)> KeyPress;
    std::function<void(short& keyCode, short& shift)> KeyUp;
    std::function<void()> MouseOut;
    std::function<void(short& button, short& shift, float& x, float& y)> MouseDown;
    std::function<void(short& button, short& shift, float& x, float& y)> MouseMove;
    std::function<void(short& button, short& shift, float& x, float& y)> MouseUp;
    // A persisted property was changed through its setter (all but Enabled).
    std::function<void(const std::string& name)> PropertyChanged;

    // One tick of the leave poll: when the pointer is outside the control, shows the normal
    // glyph, stops the poll and raises MouseOut. Points on the edges count as inside.
    void Timer1_Timer();

    // What is on screen, for the host's tests: the glyph slot shown (4 x value + look, look
    // 0 normal, 1 hover, 2 pressed, 3 disabled; -1 before any), where the glyph and the
    // caption are (control pixels), the caption's colour, and whether the leave poll runs.
    int ShownSlot() const { return shownSlot_; }
    RECT GlyphRect() const { return glyphRect_; }
    RECT CaptionRect() const { return captionRect_; }
    COLORREF CaptionColor() const;
    bool LeavePollRunning() const { return leavePollRunning_; }

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    static constexpr int kSlotCount = 12;

    bool LoadPictures();
    void ShowLook(int look);
    void ShowPic();
    void OnClick();
    void OnButtonDown(short button, WPARAM keys, POINT at);
    void OnButtonUp(short button, WPARAM keys, POINT at);
    void OnPointerMove(WPARAM keys, POINT at);
    POINT PartCoordinates(POINT at, bool moving) const;
    void StartLeavePoll();
    void StopLeavePoll();
    void Resize();
    SIZE MeasureCaption();
    HFONT CurrentFont();
    void Paint();
    void Redraw(const RECT* area);
    void Notify(const char* name);

    Ambient ambient_{L"", std::make_shared<ui::FontSpec>()};
    int dpi_ = 96;
    std::int32_t value_ = 0;
    std::wstring caption_ = L"Check1";
    ui::SharedFont font_ = std::make_shared<ui::FontSpec>();
    COLORREF backColor_ = 0;
    COLORREF foreColor_ = 0;

    std::array<ui::GdiObject<HBITMAP>, kSlotCount> glyphs_;
    ui::GdiObject<HBITMAP> background_;
    ui::GdiObject<HFONT> gdiFont_;
    ui::FontSpec gdiFontMadeFrom_;

    int shownSlot_ = -1;
    RECT glyphRect_{};
    RECT captionRect_{};
    bool leavePollRunning_ = false;
    bool leftPressedHere_ = false;  // a left click needs its button pressed on this control
};

}  // namespace quilvane::controls
