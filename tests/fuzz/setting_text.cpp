// Values of the settings file. Whatever the e-mail window stores reads back the same, in a form
// the profile functions keep (one line, no blanks or quotes around it, only characters the code
// page holds); any text found in the file decodes without harm.

#include "fuzz_promise.h"
#include "setting_text.h"
#include "utf8.h"

using namespace quilvane::mail;
using quilvane::fuzz::Promise;

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// A code page that holds only some characters, as 936 lacks emoji and many others.
bool SomeCharacters(char32_t c) { return c < 0x3000 || c % 3 != 0; }

// `stored` is well-formed UTF-8, as what it was made from.
bool OnlyHeldCharacters(std::string_view stored) {
    for (std::size_t i = 0; i < stored.size();) {
        const auto lead = static_cast<unsigned char>(stored[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) c = c << 6 | (static_cast<unsigned char>(stored[i + k]) & 0x3F);
        if (!SomeCharacters(c)) return false;
        i += length;
    }
    return true;
}

void CheckStored(std::string_view text, HeldAsItIs held) {
    const std::string stored = EncodeSettingValue(text, held);
    Promise(DecodeSettingValue(stored) == text, "a stored value reads back the same");
    Promise(stored.find_first_of("\r\n") == std::string::npos, "a stored value is one line");
    Promise(stored.empty() || (!IsBlank(stored.front()) && !IsBlank(stored.back())), "no blank around a stored value");
    const bool quoted =
        stored.size() >= 2 && stored.front() == stored.back() && (stored.front() == '"' || stored.front() == '\'');
    Promise(!quoted, "no quotes around a stored value");
    Promise(!held || OnlyHeldCharacters(stored), "a stored value holds only characters the code page holds");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = quilvane::fuzz::Text(data, size);
    (void)DecodeSettingValue(text);
    // The window's texts are UTF-8 and, ending at their first NUL, never hold one.
    if (!quilvane::IsValidUtf8(text) || text.find('\0') != std::string_view::npos) return 0;
    CheckStored(text, nullptr);
    CheckStored(text, SomeCharacters);
    return 0;
}
