#!/usr/bin/env python3
"""Draws the drop button's four 17 x 17 pictures and writes them as 24-bit .bmp files beside
this script: normal, hover (lighter face), pressed (darker face) and disabled (beige face,
brown chevron). Run it again after changing a colour; the .bmp files are checked in."""

import os
import struct

SIZE = 17
WHITE = (255, 255, 255)

# face top, face bottom, border, chevron
LOOKS = {
    "drop_button_normal.bmp": ((233, 242, 253), (190, 213, 246), (126, 163, 214), (48, 68, 112)),
    "drop_button_hover.bmp": ((248, 251, 255), (214, 231, 252), (150, 186, 232), (48, 68, 112)),
    "drop_button_pressed.bmp": ((150, 185, 236), (104, 146, 216), (72, 110, 178), (22, 36, 72)),
    "drop_button_disabled.bmp": ((246, 244, 234), (226, 221, 198), (196, 189, 160), (140, 104, 62)),
}

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


def write_bmp(path, look):
    row_bytes = (SIZE * 3 + 3) & ~3
    image_size = row_bytes * SIZE
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + image_size, 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 24, 0, image_size, 2835, 2835, 0, 0)
    rows = []
    for y in reversed(range(SIZE)):  # bottom-up rows
        row = bytearray()
        for x in range(SIZE):
            r, g, b = pixel(x, y, look)
            row += bytes((b, g, r))
        rows.append(bytes(row) + b"\0" * (row_bytes - len(row)))
    with open(path, "wb") as out:
        out.write(header + info + b"".join(rows))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for name, look in LOOKS.items():
        write_bmp(os.path.join(here, name), look)


if __name__ == "__main__":
    main()
