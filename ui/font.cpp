#include "font.h"

#include <cmath>

namespace quilvane::ui {

GdiObject<HFONT> MakeFont(const FontSpec& spec, int dpi) {
    LOGFONTW font{};
    font.lfHeight = -static_cast<LONG>(std::lround(spec.points * dpi / 72.0));
    font.lfWeight = spec.bold ? FW_BOLD : FW_NORMAL;
    font.lfItalic = spec.italic;
    font.lfUnderline = spec.underline;
    font.lfStrikeOut = spec.strikeout;
    font.lfCharSet = spec.charset;
    font.lfQuality = DEFAULT_QUALITY;
    lstrcpynW(font.lfFaceName, spec.face.c_str(), LF_FACESIZE);
    return GdiObject<HFONT>(CreateFontIndirectW(&font));
}

}  // namespace quilvane::ui
