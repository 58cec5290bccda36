#pragma once
// The base of the program's windows: it makes the window from its design (centred over its
// owner, sized in twips at the screen's DPI, with the program's icon), builds the controls of
// its design table in the window's font, keeps them by id, and reflects the notifications of
// the platform's controls to their callback members. A window keeps only its design table and
// its handlers.

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "control_design.h"
#include "font.h"
#include "frame.h"
#include "handles.h"
#include "keyboard_navigation.h"
#include "subclass.h"
#include "window.h"

namespace quilvane::ui {

// The events of a control the form made, or of a menu item of the window.
struct ControlEvents {
    std::function<void()> Click;                    // buttons, options, menu items
    std::function<void()> Change;                   // text boxes, after their text changed
    std::function<void()> DblClick;                 // list boxes
    std::function<void(short& keyAscii)> KeyPress;  // text boxes; a key set to 0 is not typed
    std::function<void()> Paste;                    // text boxes: instead of the platform's paste
};

class Form : public Window {
public:
    // The window's control with this id (kFormItself: the window), or null.
    HWND Control(int id) const;

protected:
    // Creates the window, without controls: owned by `owner` (it stays above it and goes with
    // it), centred over `centreOver` or the screen. False when it could not be made.
    bool CreateForm(const FormDesign& design, HWND owner = nullptr, HWND centreOver = nullptr);
    // Builds the controls of `design` in order; the kinds the form does not make itself come
    // from CreateCustomControl.
    void CreateControls(std::span<const ControlDesign> design);
    virtual HWND CreateCustomControl(const ControlDesign& design, HWND container, const RECT& place);

    ControlEvents& Events(int id) { return events_[id]; }
    // Files dropped on the window or on a control that accepts them; the form finishes the
    // drop afterwards.
    std::function<void(HDROP drop)> OnFilesDropped;
    // The window and these controls accept files dropped from the shell.
    void AcceptDropsOn(std::span<const int> ids);
    // Tab visits these controls in this order.
    void SetTabOrder(std::span<const int> ids);

    std::string TextOf(int id) const;
    void SetTextOf(int id, const std::string& text);
    RECT PlaceOf(int id) const;  // the designed place in pixels, in its container
    // A caption is never cut: where the font is wider than the design allowed (at some screen
    // scales it is), the place grows to the right.
    RECT FittingCaption(RECT place, int captionLeft, const wchar_t* caption) const;

    int dpi() const { return dpi_; }
    int Pixels(int twips) const { return TwipsToPixels(twips, dpi_); }
    HFONT font() const { return hfont_.get(); }
    const SharedFont& sharedFont() const { return font_; }
    KeyboardNavigation& navigation() { return navigation_; }

    // Reflects commands and drops; a derived window passes on what it does not handle.
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct Made {
        HWND hwnd;
        const ControlDesign* design;
    };
    HWND CreateStandardControl(const ControlDesign& design, HWND container, const RECT& place);
    void ListenToTextAndDrops(HWND control, int id);
    void TakeDrop(WPARAM wParam);
    void Reflect(int id, int code, bool fromMenu);

    int dpi_ = 96;
    SharedFont font_ = std::make_shared<FontSpec>();
    GdiObject<HFONT> hfont_;
    std::map<int, Made> controls_;
    std::map<int, ControlEvents> events_;
    std::vector<std::unique_ptr<Frame>> frames_;
    std::vector<std::unique_ptr<Subclass>> subclasses_;
    KeyboardNavigation navigation_;
};

}  // namespace quilvane::ui
