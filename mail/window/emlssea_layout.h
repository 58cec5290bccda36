#pragma once
// The e-mail window as designed: two framed groups with their headings, the attachment list
// and the buttons, each control with its caption and place in twips, in creation order.

#include "control_design.h"
#include "resource_ids.h"

namespace quilvane::mail {

enum ControlId : int {
    kWindow = ui::kFormItself,
    kFrame1 = 300,
    kSkinLabel10,
    kSkinLabel1,
    kText1,
    kSkinLabel2,
    kText2,
    kSkinLabel3,
    kText3,
    kSkinLabel4,
    kText4,
    kSkinLabel5,
    kCombo1,
    kFrame2,
    kSkinLabel9,
    kSkinLabel8,
    kText5,
    kSkinLabel7,
    kText6,
    kSkinLabel6,
    kText7,
    kTCommand1,
    kList1,
    kCmdYesONo,
    kCommand1,
    kCommand2
};

inline constexpr int kDesignClientWidth = 5400;
inline constexpr int kDesignClientHeight = 7215;

inline constexpr const wchar_t* kTitle = L"电子邮件";
inline constexpr ui::FormDesign kEmlsseaForm{.className = L"QuilvaneEmlssea",
                                             .title = kTitle,
                                             .clientWidth = kDesignClientWidth,
                                             .clientHeight = kDesignClientHeight,
                                             .icon = IDI_PROGRAM};
inline constexpr const wchar_t* kListTip = L"双击这里清空内容";
inline constexpr const wchar_t* kSendCaption = L"发送邮件(&E)";
inline constexpr const wchar_t* kSendingCaption = L"正在发送...";

using ui::ControlKind;

inline constexpr ui::ControlDesign kEmlsseaDesign[] = {
    {kFrame1, "Frame1", ControlKind::BorderedFrame, L"", {120, 150, 5160, 2370}, kWindow},
    {kSkinLabel10, "SkinLabel10", ControlKind::Heading, L"基本信息", {240, 45, 840, 210}, kWindow},
    {kSkinLabel1, "SkinLabel1", ControlKind::Label, L"收件人：", {150, 300, 900, 210}, kFrame1},
    {kText1, "Text1", ControlKind::Edit, L"", {1080, 255, 3900, 300}, kFrame1},
    {kSkinLabel2, "SkinLabel2", ControlKind::Label, L"发件人：", {150, 705, 900, 210}, kFrame1},
    {kText2, "Text2", ControlKind::Edit, L"", {1080, 660, 3900, 300}, kFrame1},
    {kSkinLabel3, "SkinLabel3", ControlKind::Label, L"用户名：", {150, 1110, 900, 210}, kFrame1},
    {kText3, "Text3", ControlKind::Edit, L"", {1080, 1065, 3900, 300}, kFrame1},
    {kSkinLabel4, "SkinLabel4", ControlKind::Label, L"密码：", {150, 1515, 900, 210}, kFrame1},
    {kText4, "Text4", ControlKind::PasswordEdit, L"", {1080, 1470, 3900, 300}, kFrame1},
    {kSkinLabel5, "SkinLabel5", ControlKind::Label, L"SMTP：", {150, 1920, 900, 210}, kFrame1},
    {kCombo1, "Combo1", ControlKind::DropDownList, L"", {1080, 1875, 3900, 315}, kFrame1},
    {kFrame2, "Frame2", ControlKind::BorderedFrame, L"", {120, 2730, 5160, 2595}, kWindow},
    {kSkinLabel9, "SkinLabel9", ControlKind::Heading, L"发送信息", {240, 2625, 840, 210}, kWindow},
    {kSkinLabel8, "SkinLabel8", ControlKind::Label, L"标题：", {150, 300, 900, 210}, kFrame2},
    {kText5, "Text5", ControlKind::Edit, L"", {1080, 255, 3900, 300}, kFrame2, {.maxLength = 200}},
    {kSkinLabel7, "SkinLabel7", ControlKind::Label, L"内容：", {150, 705, 900, 210}, kFrame2},
    {kText6, "Text6", ControlKind::MultilineEdit, L"", {1080, 660, 3900, 1260}, kFrame2, {.maxLength = 2000}},
    {kSkinLabel6, "SkinLabel6", ControlKind::Label, L"附件：", {150, 2070, 900, 210}, kFrame2},
    {kText7, "Text7", ControlKind::ReadOnlyEdit, L"", {1080, 2025, 3060, 300}, kFrame2},
    {kTCommand1, "tCommand1", ControlKind::Button, L"添加", {4230, 2010, 750, 330}, kFrame2},
    {kList1, "List1", ControlKind::ListBox, L"", {120, 5445, 5160, 1095}, kWindow},
    {kCmdYesONo, "cmdYesONo", ControlKind::Button, kSendCaption, {120, 6690, 1620, 375}, kWindow},
    {kCommand1, "Command1", ControlKind::Button, L"保存信息(S)", {1890, 6690, 1620, 375}, kWindow},
    {kCommand2, "Command2", ControlKind::Button, L"清空信息(&C)", {3660, 6690, 1620, 375}, kWindow},
};

// The order Tab visits the controls.
inline constexpr int kTabOrder[] = {kText1, kText2,     kText3, kText4,     kCombo1,   kText5,   kText6,
                                    kText7, kTCommand1, kList1, kCmdYesONo, kCommand1, kCommand2};

// Five SMTP servers of public mail providers, offered in this order.
inline constexpr const wchar_t* kSmtpServers[] = {L"smtp.qq.com", L"smtp.163.com", L"smtp.126.com", L"smtp.sina.com",
                                                  L"smtp.aliyun.com"};

}  // namespace quilvane::mail
