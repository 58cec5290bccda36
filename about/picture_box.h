#pragma once
// A picture box: shows a picture at its top-left corner, measures the pointer in its own
// pixels and carries captionless, transparent labels (click areas) over the picture. The
// pointer over a label belongs to the label: it shows a hand there and raises no event of the
// box; a left press and release on the same label clicks it. Commands and colour requests of
// the box's child controls go on to the window that holds it.

#include <functional>
#include <vector>

#include "window.h"

namespace quilvane::about {

class PictureBox : public ui::Window {
public:
    // `picture` is drawn while nothing else paints the box (the caller keeps it alive).
    bool Create(HWND parent, int id, const RECT& place, HBITMAP picture);
    // A label over `area` (box pixels).
    void AddLabel(const RECT& area, std::function<void()> click);

    // Button: 1 left, 2 right, 4 middle (held buttons combined in MouseMove); Shift: 1 Shift,
    // 2 Ctrl, 4 Alt; x and y in the box's pixels.
    std::function<void(short& button, short& shift, float& x, float& y)> MouseMove;
    std::function<void(short& button, short& shift, float& x, float& y)> MouseDown;

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct Label {
        RECT area;
        std::function<void()> click;
    };

    const Label* LabelAt(LPARAM position) const;
    void Paint();
    void RaiseMouse(const std::function<void(short&, short&, float&, float&)>& event, short button, LPARAM position);

    HBITMAP picture_ = nullptr;
    std::vector<Label> labels_;
    const Label* pressedLabel_ = nullptr;
};

}  // namespace quilvane::about
