#pragma once
// Small text helpers the mail code shares.

#include <string>
#include <string_view>

namespace quilvane::mail {

// Without blanks, tabs and line breaks at either end.
std::string_view Trimmed(std::string_view text);
bool IsAscii(std::string_view text);
// Every line break (CR LF, LF or CR alone) as CR LF.
std::string WithCrLf(std::string_view text);
// The text of a file saved by an editor: UTF-8 (a leading byte-order mark skipped), else
// the ANSI code page (GB18030 where the system is Chinese), so either way of saving reads right.
std::string TextOfFile(std::string_view bytes);

}  // namespace quilvane::mail
