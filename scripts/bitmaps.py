"""Shared by the scripts that draw the program's pictures: 24-bit .bmp output and drawing one
design at every screen scale the program picks from (100, 125, 150 and 200 %).

A picture is described by colour_at(x, y), its colour at a point of the design in pixels at
100 % (real numbers, 0 <= x < width). Each pixel at a scale averages a grid of samples of its
area, so a picture drawn as whole design pixels comes out exact at 100 % and 200 % and with
softened edges in between, at the size that fits its control.
"""

import struct

SCALES = (100, 125, 150, 200)  # percent, in the order of the resource ids


def scaled(length, scale):
    """A length in pixels at 100 % as it is at `scale` percent (halves up)."""
    return int(length * scale / 100 + 0.5)


def render(width, height, scale, colour_at, samples=4):
    """The rows of (r, g, b) pixels of a width x height design drawn at `scale` percent."""
    out_width, out_height = scaled(width, scale), scaled(height, scale)
    step_x, step_y = width / out_width, height / out_height
    rows = []
    for py in range(out_height):
        row = []
        for px in range(out_width):
            total = [0, 0, 0]
            for sy in range(samples):
                for sx in range(samples):
                    colour = colour_at((px + (sx + 0.5) / samples) * step_x, (py + (sy + 0.5) / samples) * step_y)
                    for channel in range(3):
                        total[channel] += colour[channel]
            row.append(tuple(round(value / (samples * samples)) for value in total))
        rows.append(row)
    return rows


def bmp_bytes(rows):
    """A bottom-up 24-bit .bmp of rows of (r, g, b), top row first."""
    height, width = len(rows), len(rows[0])
    row_size = (width * 3 + 3) & ~3
    image = bytearray()
    for row in reversed(rows):
        line = b"".join(bytes((b, g, r)) for r, g, b in row)
        image += line + b"\0" * (row_size - len(line))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(image), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(image), 3780, 3780, 0, 0)
    return header + info + bytes(image)


def write_scaled(folder, stem, width, height, colour_at):
    """Writes stem_100.bmp ... stem_200.bmp into folder; returns their file names in scale order."""
    names = []
    for scale in SCALES:
        name = f"{stem}_{scale}.bmp"
        (folder / name).write_bytes(bmp_bytes(render(width, height, scale, colour_at)))
        names.append(name)
    return names


def resource_lines(first_id, names):
    """Resource script lines that store the scaled files of one picture under consecutive ids."""
    return [f"{first_id} + {index} BITMAP \"{name}\"" for index, name in enumerate(names)]


def pixel_art(pixels):
    """colour_at for a picture given as rows of whole design pixels."""
    def colour_at(x, y):
        return pixels[int(y)][int(x)]
    return colour_at
