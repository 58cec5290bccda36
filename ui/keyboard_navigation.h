#pragma once
// Keyboard use of a top-level window that is not a dialog: Tab and Shift+Tab move through
// the controls in the window's own tab order, arrow keys move the selection within an
// option group, Enter presses the focused button (or the default one), Esc the cancel button
// when there is one, Space presses a focused button drawn by the program itself, and Alt with
// the letter after "&" in a caption presses that control. Focus returns to where it was when
// the window is activated.

#include <windows.h>

#include <vector>

#include "option_group.h"
#include "subclass.h"

namespace quilvane::ui {

class KeyboardNavigation {
public:
    KeyboardNavigation() = default;
    KeyboardNavigation(const KeyboardNavigation&) = delete;
    KeyboardNavigation& operator=(const KeyboardNavigation&) = delete;
    ~KeyboardNavigation();

    // From now on the message loops route `window`'s keys through this object.
    void Attach(HWND window);
    // The controls in the order Tab visits them. A composite control is named by its own
    // window; it passes the focus on to its part.
    void SetTabOrder(std::vector<HWND> order);
    // Tab enters the group at its selected option; arrows move the selection. The group
    // must outlive this object.
    void AddOptionGroup(const OptionGroup& group);
    // Pressed by Enter when the focus is on no button.
    void SetDefaultButton(HWND button) { defaultButton_ = button; }
    // Pressed by Esc; null for none.
    void SetCancelButton(HWND button) { cancelButton_ = button; }

    // Moves the focus to the first control that can take it.
    void FocusFirst();
    // Handles a key meant for this window; true when it was used.
    bool Translate(const MSG& message);

private:
    HWND TabEntryOf(HWND window) const;
    const OptionGroup* GroupOf(HWND window) const;
    bool CanTakeFocus(HWND control) const;
    void MoveFocus(bool forward);
    void FocusControl(HWND control);
    bool MoveInGroup(HWND focus, bool forward);
    bool PressForEnter(HWND focus);
    bool PressMnemonic(wchar_t letter);

    HWND window_ = nullptr;
    std::vector<HWND> order_;
    std::vector<const OptionGroup*> groups_;
    HWND defaultButton_ = nullptr;
    HWND cancelButton_ = nullptr;
    HWND lastFocus_ = nullptr;
    Subclass activation_;
};

// What every message loop calls: finds the navigation of the window the key is meant for.
bool TranslateNavigationKey(const MSG& message);

}  // namespace quilvane::ui
