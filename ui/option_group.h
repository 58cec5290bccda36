#pragma once
// Option buttons of which exactly one is selected. The group is a list of its own, so it
// does not depend on the order in which the windows are stacked: selecting one option
// clears only its partners in this group.

#include <windows.h>

#include <vector>

namespace quilvane::ui {

class OptionGroup {
public:
    // Plain (not automatic) radio buttons; the first is selected.
    void SetOptions(std::vector<HWND> options);
    void Select(HWND option);
    HWND Selected() const;
    bool Contains(HWND window) const;
    // The next (or previous) enabled option after `from`, wrapping round; `from` itself when
    // no other option is enabled.
    HWND Neighbour(HWND from, bool forward) const;

private:
    std::vector<HWND> options_;
};

}  // namespace quilvane::ui
