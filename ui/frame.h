#pragma once
// A plain container for other controls. What its children report (commands, notifications,
// colour requests) and files dropped on it go on to the window that holds it.

#include "window.h"

namespace quilvane::ui {

class Frame : public Window {
public:
    // `bordered` draws a sunken outline around it.
    bool Create(HWND parent, int id, const RECT& place, bool bordered);

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool bordered_ = false;
};

}  // namespace quilvane::ui
