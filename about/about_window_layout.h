#pragma once
// The About window as designed: its controls with their captions and places in twips, the
// maker's addresses its click areas open, and what the pointer does to the water.

#include "control_design.h"

namespace quilvane::about {

enum AboutControlId : int { kAboutWindow = ui::kFormItself, kP1 = 100, kBt1, kLabel1, kLabel2 };

using ui::ControlKind;

inline constexpr const wchar_t* kAboutTitle = L"关于 Quilvane文件分割器V1.13";
// A fixed frame without minimise or maximise buttons.
inline constexpr ui::FormDesign kAboutForm{.className = L"QuilvaneFrmUseset",
                                           .title = kAboutTitle,
                                           .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
                                           .exStyle = WS_EX_DLGMODALFRAME,
                                           .clientWidth = 4695,
                                           .clientHeight = 3375};

// The picture box fills the client area; the button and the two captionless click areas lie
// on it, the click areas over the picture's address lines.
inline constexpr ui::ControlDesign kAboutWindowDesign[] = {
    {kP1, "P1", ControlKind::Picture, L"", {0, 0, kAboutForm.clientWidth, kAboutForm.clientHeight}, kAboutWindow},
    {kBt1, "bt1", ControlKind::DefaultButton, L"确定(&S)", {1440, 2850, 1815, 435}, kP1},
    {kLabel1, "Label1", ControlKind::ClickArea, L"", {1890, 1080, 1425, 195}, kP1},
    {kLabel2, "Label2", ControlKind::ClickArea, L"", {1890, 1470, 1530, 195}, kP1},
};

inline constexpr const ui::ControlDesign& AboutDesignOf(AboutControlId id) {
    for (const ui::ControlDesign& design : kAboutWindowDesign)
        if (design.id == id) return design;
    return kAboutWindowDesign[0];
}

inline constexpr const char* kWebAddress = "http://www.quilvane.cn";
inline constexpr const char* kMailAddress = "kf@quilvane.cn";

inline constexpr unsigned kRippleTickPeriod = 30;  // ms
// Every move of the pointer over the picture raises a 3 x 3 patch of water.
inline constexpr int kPointerDropSize = 2;
inline constexpr int kPointerDropStrength = 256;

// What a right click switches to, by r = U x 3 rounded half to even (U uniform in [0, 1)):
// chances 1/6, 1/3, 1/3 and 1/6.
struct AutoModeChoice {
    int mode, count, sizeLimit, strengthLimit;
};
inline constexpr AutoModeChoice kRightClickModes[] = {
    {2, 5, 4, 250},  // one drop wandering 5 pixels a step, size 4, strength 250
    {3, 250, 4, 8},  // 251 small drops a tick, sizes 1 to 4, strengths 0 to 7
    {1, 5, 4, 150},  // rain: a drop a tick, size 1 to 4, strength 50 to 199
    {0, 0, 0, 0},    // automatic drops off
};

}  // namespace quilvane::about
