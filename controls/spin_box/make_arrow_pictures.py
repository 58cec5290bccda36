#!/usr/bin/env python3
"""Draws the spin box's eight arrow pictures (15 x 9 pixels at 100 %: a dark triangle on a
light blue rounded button face) at 100, 125, 150 and 200 %, writes them as 24-bit .bmp files
into pictures/ and writes spin_box.rc, which numbers them by slot and scale. Run it again
after changing a look; the .bmp files and spin_box.rc are checked in."""

import os
import struct

WIDTH, HEIGHT = 15, 9  # at 100 %
SCALES = (100, 125, 150, 200)  # in resource id order
FIRST_ID = "IDB_SPIN_ARROW_FIRST"
WHITE = (255, 255, 255)
SAMPLES = 4  # per pixel and axis, so edges are smooth at every scale

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


def scaled(length, percent):
    """Pixels at a scale, rounded as the program rounds them (halves away from zero)."""
    return (length * percent + 50) // 100


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


def draw(up, look, percent):
    width, height = scaled(WIDTH, percent), scaled(HEIGHT, percent)
    to_unit_x, to_unit_y = WIDTH / width, HEIGHT / height
    rows = []
    for py in range(height):
        row = []
        for px in range(width):
            total = [0.0, 0.0, 0.0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px + (sx + 0.5) / SAMPLES) * to_unit_x
                    y = (py + (sy + 0.5) / SAMPLES) * to_unit_y
                    for i, channel in enumerate(colour_at(x, y, up, look)):
                        total[i] += channel
            row.append(tuple(round(c / SAMPLES ** 2) for c in total))
        rows.append(row)
    return rows


def write_bmp(path, rows):
    height, width = len(rows), len(rows[0])
    row_bytes = (width * 3 + 3) & ~3
    image_size = row_bytes * height
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + image_size, 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, image_size, 2835, 2835, 0, 0)
    data = bytearray()
    for row in reversed(rows):  # bottom-up rows
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        data += line + b"\0" * (row_bytes - len(line))
    with open(path, "wb") as out:
        out.write(header + info + bytes(data))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    os.makedirs(os.path.join(here, "pictures"), exist_ok=True)
    lines = [
        "// The spin box's arrow pictures, written by make_arrow_pictures.py: slot by slot, each",
        "// at 100, 125, 150 and 200 %.",
        '#include "spin_box_resources.h"',
        "",
    ]
    for slot, (direction, look_name, look) in enumerate(SLOTS):
        for index, percent in enumerate(SCALES):
            name = f"pictures/arrow_{direction}_{look_name}_{percent}.bmp"
            write_bmp(os.path.join(here, name), draw(direction == "up", look, percent))
            lines.append(f'{FIRST_ID} + {slot * len(SCALES) + index:<2} BITMAP "{name}"')
    with open(os.path.join(here, "spin_box.rc"), "w", newline="\n") as out:
        out.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
