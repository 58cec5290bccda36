#pragma once
// cb: the picture-drawn drop-down list. A white panel with a text box, a 17 x 17 drop button
// and a one-pixel outline covers a platform combo box; the combo box holds the items and
// supplies the drop-down list, whose pick is copied into the text box.
//
// Locked (the default) makes it a pick-only list: the text box passes the focus on and a
// click on it opens the list. Unlocked, the text can be typed and the list offers suggestions.
// Lengths given to the host (mouse positions) are in twips.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "drop_down_parts.h"
#include "font.h"
#include "handles.h"
#include "property_bag.h"
#include "subclass.h"
#include "window.h"

namespace quilvane::controls {

class DropDownList : public ui::Window {
public:
    // Creates the control as a child of `host` at `place` (pixels; the height always becomes
    // 315 twips and the width at least 400). `hostFont` is the host's font, shown until the
    // control gets a font of its own; without one, 宋体 9 points. Throws std::runtime_error
    // when the windows cannot be created.
    DropDownList(HWND host, const RECT& place, int id = 0, ui::SharedFont hostFont = nullptr);
    ~DropDownList() override;

    // Events, raised synchronously; a host leaves the ones it does not need empty.
    // Click: the text box was clicked (before a locked list opens), or an item was picked
    // (before its text is copied).
    std::function<void()> Click;
    // Pointer moves over the drop button, the text box or the control's own surface, in twips
    // of the part that saw it. Button: 1 left, 2 right, 4 middle; Shift: 1 Shift, 2 Ctrl, 4 Alt.
    std::function<void(short& button, short& shift, float& x, float& y)> MouseMove;
    // A button went down on the text box.
    std::function<void(short& button, short& shift, float& x, float& y)> MouseDown;
    // A setter changed the persisted property of this name ("Text", "Font", ...).
    std::function<void(const std::string& name)> PropertyChanged;

    // Opens the list when it is closed and closes it when it is open; the button then rests.
    void SetLists();
    // Moves the focus on to the next tab stop of the host (backwards while Shift is held).
    void GetVates();
    // The text box stops showing its own context menu, so the host can show one from MouseDown;
    // SetPopYs gives it back. Either may be called any number of times, in any order.
    void SetPopNo();
    void SetPopYs();
    // The drop button goes back to its resting picture.
    void ResetPic();

    std::wstring Text() const;
    // Shows `a`; when it is the text of an item, that item becomes the selected one. A text
    // that is no item's stays shown, leaves the selection alone and notifies nothing.
    void SetText(const std::wstring& a);

    // Appends `a`, or inserts it before item `i`; the text box then shows the selected item's
    // text (empty when none is selected). Throws std::out_of_range for a position the list
    // does not have.
    void AddItem(const std::wstring& a, std::int32_t i = -1);
    // Item data; ItemData(-1) is 0 so a host may ask for "no selection". Other positions
    // outside the list throw std::out_of_range.
    void SetItemData(short i, std::int32_t j);
    std::int32_t ItemData(short i) const;
    // The text of item `i`, empty when there is no such item. Throws std::overflow_error for
    // a position beyond a 16-bit integer.
    std::wstring List(std::int32_t i) const;
    // Both empty the shown text. RemoveItem throws std::out_of_range for a missing item.
    void RemoveItem(short i);
    void Clear();

    ui::SharedFont Font() const { return font_; }
    // An empty font means the host's font again.
    void SetFont(ui::SharedFont a);

    HWND hWnd() const { return hwnd(); }

    // -1 when no item is selected. Setting -1 clears the selection but keeps the shown text;
    // setting an item shows its text. Throws std::out_of_range below -1 or past the last item.
    short ListIndex() const;
    void SetListIndex(short i);
    short ListCount() const;

    bool Locked() const;
    void SetLocked(bool b);

    // The stored enabled flag. Setting false greys the text box, outline and button; the drop
    // button still opens the list and a pick is still copied.
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool b);

    // Life with the host's property bag.
    void InitProperties();
    void ReadProperties(const ui::PropertyBag& bag);
    void WriteProperties(ui::PropertyBag& bag) const;

    // What the control shows, for hosts and tests.
    static constexpr int kNormalSlot = ButtonPictures::kNormal, kHoverSlot = ButtonPictures::kHover,
                         kPressedSlot = ButtonPictures::kPressed, kDisabledSlot = ButtonPictures::kDisabled;
    int ShownButtonSlot() const { return shownSlot_; }
    COLORREF OutlineColour() const { return outline_; }
    bool ListIsOpen() const;
    HWND TextBoxWindow() const { return textBox_; }
    HWND ListWindow() const { return list_; }
    HWND DropButtonWindow() const;

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::optional<LRESULT> OnPanelMessage(UINT message, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> OnButtonMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool OnTextBoxMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void OnItemPicked();
    void SetLayout();
    void ApplyFont();
    void ShowSlot(int slot);
    void SetOutline(COLORREF colour);
    void SetTextBoxText(const std::wstring& text);
    std::wstring SelectedItemText() const;
    void RaiseMouse(const std::function<void(short&, short&, float&, float&)>& event, short button, WPARAM keys,
                    LPARAM point);
    void Notify(const char* name);

    int dpi_;
    ui::SharedFont hostFont_;
    ui::SharedFont font_;
    ui::GdiObject<HFONT> gdiFont_;
    ui::GdiObject<HBRUSH> background_;
    ButtonPictures pictures_;
    int shownSlot_ = kNormalSlot;
    COLORREF outline_;
    bool enabled_ = false;
    bool disabledLook_ = false;  // set by SetEnabled(false) only; a loaded flag changes no look
    bool textBoxPressed_ = false;
    bool layingOut_ = false;
    int listHeight_ = 0;  // the combo box with its list dropped

    HWND list_ = nullptr;  // the platform combo box, beneath the panel
    std::unique_ptr<PartWindow> panel_;
    HWND textBox_ = nullptr;  // a child of the panel
    std::unique_ptr<PartWindow> button_;
    // Declared last so they are detached first, while everything they use still exists.
    ui::Subclass textBoxEvents_;
    ui::Subclass contextMenuFilter_;
};

}  // namespace quilvane::controls
