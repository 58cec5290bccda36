#pragma once
// The encodings a mail message is written in, so that every line is 7-bit text of a length
// every server accepts.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quilvane::mail {

std::string Base64(std::string_view bytes);
// Appends `bytes` in base64 lines of 76 characters, each ending in CR LF.
void AppendBase64Lines(std::string& out, std::string_view bytes);
// How many characters AppendBase64Lines writes for `byteCount` bytes; 64 bits, so a file
// larger than this process can hold is measured right.
std::uint64_t Base64LinesSize(std::uint64_t byteCount);
// Nothing when the text is no base64.
std::optional<std::string> DecodeBase64(std::string_view text);

// Quoted-printable of text whose line breaks are CR LF: each line break stays one, long
// lines are broken softly so no line passes 76 characters. The result ends in CR LF.
std::string QuotedPrintable(std::string_view text);

// RFC 2047 encoded words ("=?UTF-8?B?...?=") of UTF-8 text, each short enough to stand on a
// header line of its own; a character is never split between two words.
std::vector<std::string> EncodedWords(std::string_view utf8);

// An RFC 2231 parameter value for UTF-8 text, in pieces: "name*0*=UTF-8''%E5..",
// "name*1*=..", each short enough for a header line of its own.
std::vector<std::string> ExtendedParameter(std::string_view name, std::string_view utf8);

// A quoted-string, with backslash before quotes and backslashes.
std::string Quoted(std::string_view text);

}  // namespace quilvane::mail
