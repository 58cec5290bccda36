#pragma once
// The delayed shutdown's own texts, as the windows show them.

namespace quilvane::power {

inline constexpr const wchar_t* kSchedulerTitle = L"延时关机";
inline constexpr const wchar_t* kNoTask = L"当前无任务";
inline constexpr const wchar_t* kRemaining = L"剩余:";
// The notice's message: "系统将在" N "秒之后" and the action, "系统将在30秒之后关机".
inline constexpr const wchar_t* kNoticeBefore = L"系统将在";
inline constexpr const wchar_t* kNoticeAfter = L"秒之后";
// Why "确定" started nothing: a number box left empty or holding more than digits.
inline constexpr const char* kMinutesMissing = "没有填写延时的分钟数";
inline constexpr const char* kMinutesInvalid = "延时的分钟数只能填写数字（不带正负号和小数点）";
inline constexpr const char* kLeadMissing = "没有填写执行前提示的秒数";
inline constexpr const char* kLeadInvalid = "执行前提示的秒数只能填写数字（不带正负号和小数点）";
inline constexpr const wchar_t* kNoticeTitle = L"Quilvane文件分割器 V1.12";

}  // namespace quilvane::power
