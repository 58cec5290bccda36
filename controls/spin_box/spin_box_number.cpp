#include "spin_box_number.h"

#include <charconv>
#include <cstdlib>
#include <limits>

namespace quilvane::controls {
namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\n'; }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Reads the text the way the number is written, blanks left out.
class NumberReader {
public:
    explicit NumberReader(std::wstring_view text) : text_(text) {}

    wchar_t Peek() {
        while (at_ < text_.size() && IsBlank(text_[at_])) ++at_;
        return at_ < text_.size() ? text_[at_] : L'\0';
    }
    void Take(std::string& into) { into += static_cast<char>(text_[at_++]); }
    bool TakeDigits(std::string& into) {
        bool any = false;
        while (IsDigit(Peek())) Take(into), any = true;
        return any;
    }

private:
    std::wstring_view text_;
    std::size_t at_ = 0;
};

}  // namespace

double LeadingNumber(std::wstring_view text) {
    NumberReader reader(text);
    std::string number;
    if (reader.Peek() == L'+' || reader.Peek() == L'-') reader.Take(number);
    bool digits = reader.TakeDigits(number);
    if (reader.Peek() == L'.') {
        reader.Take(number);
        digits = reader.TakeDigits(number) || digits;
    }
    if (!digits) return 0;
    // An exponent counts only when it has digits of its own.
    if (reader.Peek() == L'e' || reader.Peek() == L'E') {
        std::string exponent;
        reader.Take(exponent);
        if (reader.Peek() == L'+' || reader.Peek() == L'-') reader.Take(exponent);
        if (reader.TakeDigits(exponent)) number += exponent;
    }
    // The text is plain C syntax by now, so the locale's decimal point plays no part.
    const double value = std::strtod(number.c_str(), nullptr);
    constexpr double kLargest = std::numeric_limits<double>::max();
    return value > kLargest ? kLargest : value < -kLargest ? -kLargest : value;
}

std::wstring NumberText(double value) {
    if (value == 0) return L"0";  // never "-0"
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 15);
    return std::wstring(text, written.ptr);
}

}  // namespace quilvane::controls
