#!/usr/bin/env python3
"""Draws the check box's pictures and writes them as 24-bit .bmp files beside this script.

Twelve 13 x 13 glyphs (clear, ticked and grayed, each normal, hover, pressed and disabled)
and the 200 x 32 striped background, each at every screen scale, and the resource script
that stores them. Run it again after changing a colour or a shape.
"""

import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "scripts"))
import bitmaps  # noqa: E402

SIDE = 13
LAST = SIDE - 1

BORDER = (0x1C, 0x51, 0x80)
DISABLED_BORDER = (0xB8, 0xB6, 0xA8)
DISABLED_MARK = (0xB0, 0xAE, 0x9E)
WHITE = (0xFF, 0xFF, 0xFF)
TICK = (0x21, 0xA1, 0x21)
TICK_SHADE = (0x18, 0x78, 0x18)

# The tick sits in the middle 7 x 7 pixels of the box.
TICK_SHAPE = [
    "......#",
    ".....##",
    "#...###",
    "##.###.",
    "#####..",
    ".###...",
    "..#....",
]
MARK_LEFT = MARK_TOP = 3


def mix(a, b, share_of_b):
    return tuple(round(x + (y - x) * share_of_b) for x, y in zip(a, b))


def diagonal_fill(top_left, bottom_right):
    """A fill that runs from one colour in the top-left corner to another in the bottom-right."""
    def colour(x, y):
        return mix(top_left, bottom_right, (x + y - 2) / (2 * (SIDE - 3)))
    return colour


NORMAL_FILL = diagonal_fill((0xDC, 0xDC, 0xD7), WHITE)
PRESSED_FILL = diagonal_fill((0xB0, 0xB0, 0xA7), (0xEE, 0xED, 0xE5))


def hover_fill(x, y):
    """The normal fill with an orange glow just inside the border, strongest at the edge."""
    base = NORMAL_FILL(x, y)
    ring = min(x - 1, y - 1, SIDE - 2 - x, SIDE - 2 - y)
    glow = mix((0xFF, 0xE0, 0x9A), (0xF8, 0xA8, 0x30), (y - 1) / (SIDE - 3))
    return mix(base, glow, {0: 0.8, 1: 0.3}.get(ring, 0.0))


def disabled_fill(x, y):
    return WHITE


def box(fill, border):
    pixels = [[None] * SIDE for _ in range(SIDE)]
    for y in range(SIDE):
        for x in range(SIDE):
            on_edge = x in (0, LAST) or y in (0, LAST)
            pixels[y][x] = border if on_edge else fill(x, y)
    return pixels


def draw_tick(pixels, colour, shade):
    for row, line in enumerate(TICK_SHAPE):
        for column, cell in enumerate(line):
            if cell == "#":
                # The lowest pixel of each column is darker, so the stroke has some depth.
                below = row + 1 < len(TICK_SHAPE) and TICK_SHAPE[row + 1][column] == "#"
                pixels[MARK_TOP + row][MARK_LEFT + column] = colour if below else shade
    return pixels


def draw_square(pixels, top_colour, bottom_colour):
    for row in range(7):
        colour = mix(top_colour, bottom_colour, row / 6)
        for column in range(7):
            pixels[MARK_TOP + row][MARK_LEFT + column] = colour
    return pixels


def glyphs():
    """The twelve glyphs in slot order: 4 x value + look."""
    looks = [
        (NORMAL_FILL, BORDER),
        (hover_fill, BORDER),
        (PRESSED_FILL, BORDER),
        (disabled_fill, DISABLED_BORDER),
    ]
    squares = [
        ((0xA6, 0xDC, 0xA0), (0x78, 0xC0, 0x70)),  # pale
        ((0x6C, 0xF0, 0x5C), (0x2C, 0xC8, 0x28)),  # bright
        ((0x2E, 0x86, 0x2A), (0x16, 0x5C, 0x14)),  # dark
        (DISABLED_MARK, DISABLED_MARK),
    ]
    result = [box(fill, border) for fill, border in looks]
    for look, (fill, border) in enumerate(looks):
        if look == 3:
            result.append(draw_tick(box(fill, border), DISABLED_MARK, DISABLED_MARK))
        else:
            result.append(draw_tick(box(fill, border), TICK, TICK_SHADE))
    for (fill, border), (top, bottom) in zip(looks, squares):
        result.append(draw_square(box(fill, border), top, bottom))
    return result


def background(scale):
    """200 x 32 pixels of stripes at 100 %: one dark row, then two lighter ones. Stripes stay
    crisp at every scale: each row grows to a whole number of pixels."""
    dark, light = (0x75, 0x87, 0x8F), (0x89, 0x9B, 0xA3)
    row = max(1, round(scale / 100))
    width, height = bitmaps.scaled(200, scale), bitmaps.scaled(32, scale)
    return [[dark if (y // row) % 3 == 0 else light] * width for y in range(height)]


GLYPH_STEMS = [
    f"check_box_{value}_{look}"
    for value in ("clear", "ticked", "grayed")
    for look in ("normal", "hover", "pressed", "disabled")
]


def main():
    folder = Path(__file__).resolve().parent
    for old in folder.glob("check_box_*.bmp"):
        old.unlink()
    lines = []
    for slot, (stem, pixels) in enumerate(zip(GLYPH_STEMS, glyphs())):
        names = bitmaps.write_scaled(folder, stem, SIDE, SIDE, bitmaps.pixel_art(pixels))
        lines += bitmaps.resource_lines(f"IDB_CHECK_BOX_GLYPH0 + {slot * len(bitmaps.SCALES)}", names)
    names = []
    for scale in bitmaps.SCALES:
        names.append(f"check_box_background_{scale}.bmp")
        (folder / names[-1]).write_bytes(bitmaps.bmp_bytes(background(scale)))
    lines += bitmaps.resource_lines("IDB_CHECK_BOX_BACKGROUND", names)
    (folder / "check_box.rc").write_text(
        "// The check box's pictures at each screen scale, written by make_bitmaps.py.\n"
        '#include "check_box_resources.h"\n\n' + "\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
