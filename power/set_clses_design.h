#pragma once
// The scheduler window as designed: every control with its caption and its place in twips,
// in the order it is created. The two rows read as sentences: "从当前算起 [5] 分钟以后 [关机]"
// and "执行前提示 [30] 秒".

#include "control_design.h"
#include "power_texts.h"
#include "resource_ids.h"

namespace quilvane::power {

enum SchedulerControl : int {
    kSkinLabel1 = 100,
    kText1,
    kSkinLabel4,
    kCombo1,
    kSkinLabel2,
    kText2,
    kSkinLabel3,
    kLbl,
    kBt2,
    kCommand1,
    kBt3
};

inline constexpr int kSchedulerClientWidth = 4890;
inline constexpr int kSchedulerClientHeight = 2505;
inline constexpr ui::FormDesign kSchedulerForm{.className = L"QuilvaneSetClses",
                                               .title = kSchedulerTitle,
                                               .clientWidth = kSchedulerClientWidth,
                                               .clientHeight = kSchedulerClientHeight,
                                               .icon = IDI_PROGRAM};
inline constexpr int kSpinBoxMax = 1000;
inline constexpr int kSpinBoxMin = 0;

using ui::ControlKind;

inline constexpr ui::ControlDesign kSchedulerDesign[] = {
    {kSkinLabel1, "SkinLabel1", ControlKind::Label, L"从当前算起", {300, 375, 960, 195}},
    {kText1, "Text1", ControlKind::SpinBox, L"5", {1290, 300, 900, 330}},
    {kSkinLabel4, "SkinLabel4", ControlKind::Label, L"分钟以后", {2280, 375, 780, 195}},
    {kCombo1, "Combo1", ControlKind::DropDownList, L"", {3090, 308, 1500, 315}},
    {kSkinLabel2, "SkinLabel2", ControlKind::Label, L"执行前提示", {300, 915, 960, 195}},
    {kText2, "Text2", ControlKind::SpinBox, L"30", {1290, 840, 900, 330}},
    {kSkinLabel3, "SkinLabel3", ControlKind::Label, L"秒", {2280, 915, 300, 195}},
    {kLbl, "lbl", ControlKind::Label, L"", {300, 1425, 4290, 195}},
    {kBt2, "bt2", ControlKind::Button, L"取消任务", {300, 1860, 1095, 345}},
    {kCommand1, "Command1", ControlKind::Button, L"确定", {2220, 1860, 1095, 345}},
    {kBt3, "bt3", ControlKind::Button, L"关闭", {3495, 1860, 1095, 345}},
};

}  // namespace quilvane::power
