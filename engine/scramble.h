#pragma once
// The transforms that hide the numbers of a merge descriptor. They work on bytes in the
// ANSI code page (the caller converts); each byte is shifted by its position, combined with
// the key by XOR, and the result is interleaved.

#include <string>
#include <string_view>

namespace quilvane {

// The key every descriptor is written and read with.
inline constexpr std::string_view kDescriptorKey = "qadvintolu";

// Shift, XOR with the repeating key, and interleave. Arithmetic is modulo 256.
std::string ScrambleText(std::string_view text, std::string_view key);

// Undo the interleaving; without keepLineBreaks every CR LF pair is dropped first.
std::string UnweaveText(std::string_view text, bool keepLineBreaks);

// XOR with the key and shift back: the inverse of ScrambleText once unwoven.
std::string UnscrambleText(std::string_view text, std::string_view key);

}  // namespace quilvane
