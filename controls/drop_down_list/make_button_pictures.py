#!/usr/bin/env python3
"""Draws the drop button's four 17 x 17 pictures and writes them as 24-bit .bmp files beside
this script: normal, hover (lighter face), pressed (darker face) and disabled (beige face,
brown chevron), each at every screen scale, and the resource script that stores them. Run it
again after changing a colour; the .bmp files are checked in."""

import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "scripts"))
import bitmaps  # noqa: E402

SIZE = 17
WHITE = (255, 255, 255)

# face top, face bottom, border, chevron
LOOKS = {
    "drop_button_normal": ((233, 242, 253), (190, 213, 246), (126, 163, 214), (48, 68, 112)),
    "drop_button_hover": ((248, 251, 255), (214, 231, 252), (150, 186, 232), (48, 68, 112)),
    "drop_button_pressed": ((150, 185, 236), (104, 146, 216), (72, 110, 178), (22, 36, 72)),
    "drop_button_disabled": ((246, 244, 234), (226, 221, 198), (196, 189, 160), (140, 104, 62)),
}

IDS = ("IDB_DROP_BUTTON_NORMAL", "IDB_DROP_BUTTON_HOVER", "IDB_DROP_BUTTON_PRESSED", "IDB_DROP_BUTTON_DISABLED")

# The chevron: two strokes, two pixels thick, meeting in a point below the middle column.
CHEVRON = {(x, y) for y in range(6, 11) for x in range(SIZE) if abs(x - 8) in (9 - y, 10 - y)}


def mix(a, b, t):
    return tuple(round(p + (q - p) * t) for p, q in zip(a, b))


def pixel(x, y, look):
    top, bottom, border, chevron = look
    corner = (x in (0, SIZE - 1)) and (y in (0, SIZE - 1))
    if corner:
        return mix(WHITE, border, 0.35)  # a softly rounded corner on the white panel
    if x in (0, SIZE - 1) or y in (0, SIZE - 1):
        return border
    if (x, y) in CHEVRON:
        return chevron
    face = mix(top, bottom, (y - 1) / (SIZE - 3))
    if x == 1 or y == 1:
        return mix(face, WHITE, 0.45)  # inner highlight along the top and left
    return face


def main():
    here = Path(__file__).resolve().parent
    for old in here.glob("drop_button_*.bmp"):
        old.unlink()
    lines = []
    for macro, (stem, look) in zip(IDS, LOOKS.items()):
        colour_at = bitmaps.pixel_art([[pixel(x, y, look) for x in range(SIZE)] for y in range(SIZE)])
        lines += bitmaps.resource_lines(macro, bitmaps.write_scaled(here, stem, SIZE, SIZE, colour_at))
    (here / "drop_down_list.rc").write_text(
        "// The drop button's four looks at each screen scale, written by make_button_pictures.py.\n"
        '#include "drop_down_list_resources.h"\n\n' + "\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
