#include "font.h"

#include <cmath>

namespace quilvane::ui {

GdiObject<HFONT> MakeFont(const FontSpec& wanted, int dpi) {
    LOGFONTW font{};
    font.lfHeight = -static_cast<LONG>(std::lround(wanted.points * dpi / 72.0));
    font.lfWeight = wanted.bold ? FW_BOLD : FW_NORMAL;
    font.lfItalic = wanted.italic;
    font.lfUnderline = wanted.underline;
    font.lfStrikeOut = wanted.strikeout;
    font.lfCharSet = wanted.charset;
    font.lfQuality = DEFAULT_QUALITY;
    lstrcpynW(font.lfFaceName, wanted.face.c_str(), LF_FACESIZE);
    return GdiObject<HFONT>(CreateFontIndirectW(&font));
}

}  // namespace quilvane::ui

namespace quilvane::ui {

SIZE TextExtent(HFONT font, const std::wstring& text) {
    WindowDc screen(nullptr);
    Selection selected(screen.get(), font);
    RECT area{};
    DrawTextW(screen.get(), text.c_str(), static_cast<int>(text.size()), &area,
              DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    return SIZE{area.right - area.left, area.bottom - area.top};
}

}  // namespace quilvane::ui
