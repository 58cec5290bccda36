#pragma once
// The strip at the foot of the main window: a picture with the contact label on it. The label
// shows a hand pointer and reports clicks.

#include <functional>
#include <string>

#include "font.h"
#include "handles.h"
#include "window.h"

namespace quilvane::app {

class ContactStrip : public ui::Window {
public:
    bool Create(HWND parent, int id, const RECT& place, const RECT& labelPlace, std::wstring caption, HFONT font,
                HBITMAP picture);

    std::function<void()> LabelClicked;

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool OverLabel(LPARAM position) const;

    RECT label_{};
    std::wstring caption_;
    HFONT font_ = nullptr;
    HBITMAP picture_ = nullptr;
};

}  // namespace quilvane::app
