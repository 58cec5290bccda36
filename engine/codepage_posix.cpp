#include "codepage.h"

#include <iconv.h>

#include "owned.h"

namespace quilvane {
namespace {

inline void CloseConverter(iconv_t converter) { iconv_close(converter); }
// NOLINTNEXTLINE(performance-no-int-to-ptr): iconv's documented failure value
const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// Converts all of `input`, or gives up at the first sequence `to` cannot hold.
bool Convert(const char* to, const char* from, std::string_view input, std::string& output) {
    iconv_t converter = iconv_open(to, from);
    if (converter == kNoConverter) return false;
    const Owned<iconv_t, CloseConverter> opened(converter);
    output.assign(input.size() * 4 + 4, '\0');
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    char* out = output.data();
    std::size_t outLeft = output.size();
    const bool done = iconv(converter, &in, &inLeft, &out, &outLeft) != static_cast<std::size_t>(-1);
    output.resize(output.size() - outLeft);
    return done && inLeft == 0;
}

}  // namespace

Result<std::string> ToAnsi(std::string_view utf8) {
    std::string ansi;
    if (!Convert("GB18030", "UTF-8", utf8, ansi)) return Status::Fail("");
    return ansi;
}

std::string FromAnsi(std::string_view ansi) {
    std::string utf8;
    if (Convert("UTF-8", "GB18030", ansi, utf8)) return utf8;
    // Bytes that are no GB18030 at all: keep the readable ASCII, mark the rest.
    utf8.clear();
    for (char c : ansi) utf8 += static_cast<unsigned char>(c) < 0x80 ? c : '?';
    return utf8;
}

bool SystemCodePageHolds(char32_t) { return true; }

}  // namespace quilvane
