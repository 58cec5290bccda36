#pragma once
// A window as designed: the window itself, and each of its controls with what it is, its
// caption and its place in twips inside its container, in a table in the order they are made.

#include "twips.h"

namespace quilvane::ui {

// The container id that stands for the window itself.
inline constexpr int kFormItself = 0;

enum class ControlKind {
    // Made by the form itself.
    Frame,          // a plain container
    BorderedFrame,  // a container with an etched outline
    Heading,        // a centred caption, laid over its frame's outline
    Label,
    Option,  // a radio button the window groups itself
    Button,
    DefaultButton,
    Edit,
    ReadOnlyEdit,
    PasswordEdit,
    MultilineEdit,
    ListBox,
    Progress,
    // Made by the window, which owns the object behind them.
    CheckBox,
    DropDownList,
    SpinBox,
    Picture,
    ClickArea,  // a part of its container with no window of its own
};

// What a text box takes.
struct TextLimits {
    int maxLength = 0;       // characters; 0 for no limit
    bool latinOnly = false;  // paths and sizes: no input method
};

struct ControlDesign {
    int id;
    const char* name;
    ControlKind kind;
    const wchar_t* caption;
    TwipsRect place;  // relative to the container
    int container = kFormItself;
    TextLimits limits{};
};

// The window itself; sizes in twips.
struct FormDesign {
    const wchar_t* className;
    const wchar_t* title;
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;  // fixed border, no min/max
    DWORD exStyle = 0;
    int clientWidth = 0, clientHeight = 0;
    int outerHeight = 0;  // when set, the whole window's height instead of the client's
    bool centred = true;  // over the window named on creation, else where the system puts windows
    int icon = 0;         // resource id; 0 for the system's
};

}  // namespace quilvane::ui
