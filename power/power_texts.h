#pragma once
// The delayed shutdown's own texts, as the windows show them.

namespace quilvane::power {

inline constexpr const wchar_t* kSchedulerTitle = L"延时关机";
inline constexpr const wchar_t* kNoTask = L"当前无任务";
inline constexpr const wchar_t* kRemaining = L"剩余:";
// The notice's message: "系统将在" N "秒之后" and the action, "系统将在30秒之后关机".
inline constexpr const wchar_t* kNoticeBefore = L"系统将在";
inline constexpr const wchar_t* kNoticeAfter = L"秒之后";
inline constexpr const wchar_t* kNoticeTitle = L"Quilvane文件分割器 V1.12";

}  // namespace quilvane::power
