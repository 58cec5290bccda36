#pragma once
// The spin box keeps no number of its own: its value is the number at the start of its text.

#include <string>
#include <string_view>

namespace quilvane::controls {

// The number the text starts with, read as the platform's text-to-number conversion reads
// it: blanks, tabs and line feeds are skipped, then a sign, digits, one decimal point and an
// exponent are taken up to the first character that cannot continue the number. Text that
// starts with no number reads 0; a magnitude beyond the 64-bit float's range reads as its
// largest value.
double LeadingNumber(std::wstring_view text);

// The general text form of a number: up to 15 significant digits, no grouping, no trailing
// zeros, a hyphen-minus when negative (30, 10.5, -0.5; very large or small numbers as 1e+20).
std::wstring NumberText(double value);

}  // namespace quilvane::controls
