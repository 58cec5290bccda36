#pragma once
// The main window as designed: every control with its caption and its place in twips, in
// the order it is created, and the stacking order of the window's direct children.

#include "control_design.h"
#include "resource_ids.h"

namespace quilvane::app {

enum ControlId : int {
    kWindow = ui::kFormItself,
    kFrame2 = 100,
    kOpDelFale,
    kGetFile,
    kCommand1,
    kCommand4,
    kSkinLabel2,
    kCmdFile,
    kSkinLabel3,
    kText1,
    kCmdOpsee,
    kSkinLabel4,
    kText2,
    kTxtPsd,
    kCombo1,
    kOkbs,
    kOption3,
    kP1,
    kCommand2,
    kCommand3,
    kTQueries,
    kFrame1,
    kChkSets,
    kChkAdd,
    kAutosets,
    kAutoQto,
    kCommand5,
    kPicture1,
    kDels,
    kClse  // items of the list's context menu
};

inline constexpr int kDesignClientWidth = 4680;
inline constexpr int kCollapsedHeight = 3720;  // outer height, as the window opens
inline constexpr int kExpandedHeight = 6300;

inline constexpr const wchar_t* kTitle = L"Quilvane文件分割器V1.13";

inline constexpr ui::FormDesign kMainWindowForm{
    .className = L"QuilvaneMainF",
    .title = kTitle,
    .style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
    .clientWidth = kDesignClientWidth,
    .outerHeight = kCollapsedHeight,
    .centred = false,
    .icon = IDI_PROGRAM};
inline constexpr const wchar_t* kContactCaption = L"E-Mail: kf@quilvane.cn [Quilvane]";
inline constexpr ui::TwipsRect kContactLabelPlace{0, 30, 3000, 225};  // inside Picture1

using ui::ControlKind;

inline constexpr ui::ControlDesign kMainWindowDesign[] = {
    {kFrame2, "Frame2", ControlKind::Frame, L"", {150, 0, 4370, 2025}, kWindow},
    {kOpDelFale, "opDelFale", ControlKind::Option, L"分割文件", {60, 150, 1025, 225}, kFrame2},
    {kGetFile, "GetFile", ControlKind::Option, L"合并文件", {1230, 150, 1025, 225}, kFrame2},
    {kCommand1, "Command1", ControlKind::Button, L"关机", {2520, 150, 600, 315}, kFrame2},
    {kCommand4, "Command4", ControlKind::Button, L"邮件", {3120, 150, 600, 315}, kFrame2},
    {kSkinLabel2, "SkinLabel2", ControlKind::Label, L"分割文件:", {60, 750, 855, 195}, kFrame2},
    {kCmdFile, "cmdFile", ControlKind::Button, L"...", {3900, 660, 405, 315}, kFrame2},
    {kSkinLabel3, "SkinLabel3", ControlKind::Label, L"目标地址:", {60, 1230, 825, 195}, kFrame2},
    {kText1, "Text1", ControlKind::ReadOnlyEdit, L"", {930, 1155, 2885, 315}, kFrame2, {.latinOnly = true}},
    {kCmdOpsee, "cmdOpsee", ControlKind::Button, L"...", {3900, 1140, 405, 315}, kFrame2},
    {kSkinLabel4, "SkinLabel4", ControlKind::Label, L"分割大小:", {60, 1680, 825, 195}, kFrame2},
    {kText2, "Text2", ControlKind::Edit, L"100", {930, 1620, 1035, 315}, kFrame2, {.latinOnly = true}},
    {kTxtPsd, "txtPsd", ControlKind::ReadOnlyEdit, L"", {1080, 660, 2885, 315}, kWindow, {.latinOnly = true}},
    {kCombo1, "Combo1", ControlKind::DropDownList, L"", {1080, 660, 2885, 315}, kWindow},
    {kOkbs, "Okbs", ControlKind::Option, L"KB", {2250, 1680, 645, 225}, kWindow},
    {kOption3, "Option3", ControlKind::Option, L"MB", {2910, 1680, 645, 225}, kWindow},
    {kP1, "P1", ControlKind::Progress, L"", {150, 2160, 4395, 255}, kWindow},
    {kCommand2, "Command2", ControlKind::Button, L"开始", {150, 2520, 1095, 315}, kWindow},
    {kCommand3, "Command3", ControlKind::Button, L"退出", {1770, 2520, 1095, 315}, kWindow},
    {kTQueries, "tQueries", ControlKind::Button, L"展开 <<", {3420, 2520, 1095, 315}, kWindow},
    {kFrame1, "Frame1", ControlKind::BorderedFrame, L"", {150, 3010, 4370, 2205}, kWindow},
    {kChkSets, "ChkSets", ControlKind::CheckBox, L"分割后生成批处理文件自动合并", {225, 285, 2820, 255}, kFrame1},
    {kChkAdd, "chkAdd", ControlKind::CheckBox, L"允许添加多个文件进行合并", {225, 780, 2820, 255}, kFrame1},
    {kAutosets, "Autosets", ControlKind::CheckBox, L"自动填充目标地址框", {225, 1280, 2820, 255}, kFrame1},
    {kAutoQto, "AutoQto", ControlKind::CheckBox, L"分割合并成功自动退出", {225, 1770, 2820, 255}, kFrame1},
    {kCommand5, "Command5", ControlKind::Button, L"帮助", {3930, 5310, 600, 315}, kWindow},
    {kPicture1, "Picture1", ControlKind::Picture, L"", {360, 5340, 2865, 255}, kWindow},
};

// The window's direct children from top to bottom: the list starts under Frame2, hidden.
inline constexpr ControlId kStackingOrder[] = {kCommand5, kP1,   kTQueries, kCommand3, kCommand2, kTxtPsd,
                                               kOption3,  kOkbs, kFrame1,   kFrame2,   kCombo1,   kPicture1};

// Controls whose drop of files fills the source, as the window itself does.
inline constexpr int kDropTargets[] = {kFrame1,    kFrame2,  kTxtPsd, kText1,  kText2,
                                       kOpDelFale, kGetFile, kOkbs,   kOption3};

}  // namespace quilvane::app
