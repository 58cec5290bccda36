#pragma once
// A font as controls store and share it, and the GDI font made from it.

#include <windows.h>

#include <memory>
#include <string>

#include "handles.h"

namespace quilvane::ui {

struct FontSpec {
    std::wstring face = L"宋体";
    double points = 9;
    bool bold = false, italic = false, underline = false, strikeout = false;
    BYTE charset = GB2312_CHARSET;

    bool operator==(const FontSpec&) const = default;
};

// Controls hold the very font object they were given, as the host's font is shared.
using SharedFont = std::shared_ptr<FontSpec>;

GdiObject<HFONT> MakeFont(const FontSpec& wanted, int dpi);

// The width and height of one line of `text` in `font`, in screen pixels.
SIZE TextExtent(HFONT font, const std::wstring& text);

}  // namespace quilvane::ui
