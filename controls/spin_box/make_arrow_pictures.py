#!/usr/bin/env python3
"""Draws the spin box's eight arrow pictures (15 x 9 pixels at 100 %: a dark triangle on a
light blue rounded button face) at every screen scale, writes them as 24-bit .bmp files into
pictures/ and writes spin_box.rc, which numbers them by slot and scale. Run it again after
changing a look; the .bmp files and spin_box.rc are checked in."""

import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "scripts"))
import bitmaps  # noqa: E402

WIDTH, HEIGHT = 15, 9  # at 100 %
WHITE = (255, 255, 255)

# face top, face bottom, border, triangle
NORMAL = ((233, 242, 253), (190, 213, 246), (126, 163, 214), (48, 68, 112))
HOVER = ((248, 251, 255), (214, 231, 252), (150, 186, 232), (48, 68, 112))
PRESSED = ((150, 185, 236), (104, 146, 216), (72, 110, 178), (22, 36, 72))
DISABLED = ((246, 244, 234), (226, 221, 198), (196, 189, 160), (150, 150, 150))

# The picture store's slots, in slot order: which arrow and how it looks.
SLOTS = (
    ("down", "hover", HOVER),
    ("down", "normal", NORMAL),
    ("up", "normal", NORMAL),
    ("down", "pressed", PRESSED),
    ("up", "pressed", PRESSED),
    ("up", "hover", HOVER),
    ("up", "disabled", DISABLED),
    ("down", "disabled", DISABLED),
)


def mix(a, b, t):
    return tuple(p + (q - p) * t for p, q in zip(a, b))


def in_rounded_rect(x, y, left, top, right, bottom, radius):
    if not (left <= x <= right and top <= y <= bottom):
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def in_triangle(x, y, up):
    """A triangle 7 wide and 3.5 high, centred; the point up or down."""
    middle, half_height = WIDTH / 2, 1.75
    depth = (y - (HEIGHT / 2 - half_height)) if up else ((HEIGHT / 2 + half_height) - y)
    if not 0 <= depth <= 2 * half_height:
        return False
    return abs(x - middle) <= depth  # 3.5 either side at the base


def colour_at(x, y, up, look):
    """The colour at a point given in 100 % pixels."""
    top, bottom, border, triangle = look
    if not in_rounded_rect(x, y, 0, 0, WIDTH, HEIGHT, 2.5):
        return WHITE
    if not in_rounded_rect(x, y, 1, 1, WIDTH - 1, HEIGHT - 1, 1.5):
        return border
    if in_triangle(x, y, up):
        return triangle
    return mix(top, bottom, (y - 1) / (HEIGHT - 2))


def main():
    here = Path(__file__).resolve().parent
    pictures = here / "pictures"
    pictures.mkdir(exist_ok=True)
    lines = []
    for slot, (direction, look_name, look) in enumerate(SLOTS):
        names = bitmaps.write_scaled(pictures, f"arrow_{direction}_{look_name}", WIDTH, HEIGHT,
                                     lambda x, y, up=direction == "up", look=look: colour_at(x, y, up, look))
        first = f"IDB_SPIN_ARROW_FIRST + {slot * len(bitmaps.SCALES)}"
        lines += bitmaps.resource_lines(first, [f"pictures/{name}" for name in names])
    (here / "spin_box.rc").write_text(
        "// The spin box's arrow pictures, slot by slot at each screen scale, written by\n"
        "// make_arrow_pictures.py.\n"
        '#include "spin_box_resources.h"\n\n' + "\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
