#!/usr/bin/env python3
"""Draws the program's own pictures: the 32 x 32 window icon (a sheet cut into pieces) and the
200 x 32 strip behind the contact label at every screen scale. Run it after changing a
drawing; the results are kept beside it."""
import struct
import sys
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE.parent / "scripts"))
import bitmaps  # noqa: E402


def icon_pixel(x, y):
    """RGBA of the icon: a blue page cut in three by dashed lines, with a small pair of blades."""
    if 5 <= x <= 26 and 2 <= y <= 29:
        edge = x in (5, 26) or y in (2, 29)
        cut = y in (11, 20) and x % 3 != 0
        if edge:
            return (32, 84, 160, 255)
        if cut:
            return (220, 60, 40, 255)
        shade = 255 - (y * 2)
        return (shade - 40, shade - 10, 255, 255)
    if 24 <= x <= 30 and 8 <= y <= 14 and abs((x - 27) - (y - 11)) <= 1:
        return (90, 90, 90, 255)
    return (0, 0, 0, 0)


def icon_bytes():
    size = 32
    xor = bytearray()
    for y in range(size - 1, -1, -1):
        for x in range(size):
            r, g, b, a = icon_pixel(x, y)
            xor += bytes((b, g, r, a))
    mask_row = 4  # 32 bits, already a multiple of four bytes
    and_mask = bytearray()
    for y in range(size - 1, -1, -1):
        bits = 0
        for x in range(size):
            if icon_pixel(x, y)[3] == 0:
                bits |= 1 << (31 - x)
        and_mask += struct.pack(">I", bits)
    assert len(and_mask) == size * mask_row
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    image = info + xor + and_mask
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), 22)
    return directory + image


def strip_pixel(x, y):
    """A deep blue band that lightens towards the right, with a thin highlight on top."""
    if y < 1:
        return (150, 190, 230)
    t = min(x / 199, 1)
    return (int(30 + 60 * t), int(70 + 70 * t), int(140 + 70 * t))


if __name__ == "__main__":
    (HERE / "quilvane.ico").write_bytes(icon_bytes())
    for old in HERE.glob("contact_strip*.bmp"):
        old.unlink()
    bitmaps.write_scaled(HERE, "contact_strip", 200, 32, strip_pixel)
