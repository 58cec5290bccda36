#!/usr/bin/env python3
"""Draws the About picture and writes it beside this script as 24-bit .bmp files, one for each
screen scale: about_picture_100.bmp (317 x 310 pixels), _125, _150 and _200.

From the top: the product name, the web site and e-mail lines, a slogan and a line of small
print on a pane of frosted glass over a cloudy sky, then a mountain lake that mirrors it all.
The About window shows the top-left 313 x 225 pixels (at 100 %) with its button over the lake;
the water effect runs over the whole picture. The click areas of the window lie over the two
addresses: from x 126, y 72 and y 98 (at 100 %), 13 pixels high.

Text is rasterised by ImageMagick (`convert`) with the WenQuanYi Zen Hei font that
scripts/setup installs; the program itself needs no font for the picture. Standard library
otherwise; run it again after changing a colour, a text or a shape (it takes a minute).
"""

import functools
import math
import subprocess
import sys
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE.parents[1] / "scripts"))
import bitmaps  # noqa: E402
FONT = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc"
WIDTH, HEIGHT = 317, 310

TITLE = "Quilvane文件分割器 V1.13"
WEB_LABEL, WEB_ADDRESS = "官方网站：", "www.quilvane.cn"
MAIL_LABEL, MAIL_ADDRESS = "电子邮件：", "kf@quilvane.cn"
SLOGAN = "大文件轻松分割，随时完整合并"
SMALL_PRINT = "版权所有 (C) Quilvane 工作室，保留所有权利"

ADDRESS_LEFT = 126  # where both click areas start
WEB_TOP, MAIL_TOP, LINE_HEIGHT = 72, 98, 13

SHORE = 190  # the lake's far edge; the button sits just below it

INK = (22, 44, 86)
LINK = (0, 74, 196)
FINE_PRINT = (70, 86, 112)
WHITE = (255, 255, 255)


# ---------------------------------------------------------------- noise

def lattice(ix, iy, seed):
    """A repeatable number in [0, 1) for each lattice point."""
    h = (ix * 374761393 + iy * 668265263 + seed * 1442695041) & 0xFFFFFFFF
    h = ((h ^ (h >> 13)) * 1274126177) & 0xFFFFFFFF
    return ((h ^ (h >> 16)) & 0xFFFF) / 65536.0


def smooth_noise(x, y, seed):
    ix, iy = math.floor(x), math.floor(y)
    fx, fy = x - ix, y - iy
    sx, sy = fx * fx * (3 - 2 * fx), fy * fy * (3 - 2 * fy)
    top = lattice(ix, iy, seed) + (lattice(ix + 1, iy, seed) - lattice(ix, iy, seed)) * sx
    bottom = lattice(ix, iy + 1, seed) + (lattice(ix + 1, iy + 1, seed) - lattice(ix, iy + 1, seed)) * sx
    return top + (bottom - top) * sy


def fractal(x, y, seed, octaves):
    """Noise of several sizes added up, in [0, 1)."""
    total, weight, scale = 0.0, 0.5, 1.0
    for octave in range(octaves):
        total += weight * smooth_noise(x * scale, y * scale, seed + octave)
        weight *= 0.5
        scale *= 2.0
    return total / (1 - 0.5 ** octaves)


def mix(a, b, t):
    t = min(1.0, max(0.0, t))
    return tuple(p + (q - p) * t for p, q in zip(a, b))


def smoothstep(low, high, value):
    t = min(1.0, max(0.0, (value - low) / (high - low)))
    return t * t * (3 - 2 * t)


# ---------------------------------------------------------------- the landscape, in 100 % units

def far_ridge(u):
    """Sharp peaks: folded noise, highest on the right."""
    folded = 1.0 - abs(2.0 * fractal(u / 64.0, 3.5, 11, 4) - 1.0)
    return 162 - 46 * folded ** 1.6 - 14 * math.exp(-((u - 230) / 40.0) ** 2)


def near_ridge(u):
    return 170 + 14 * fractal(u / 26.0, 8.25, 23, 4)


def sky(u, v):
    base = mix((30, 82, 156), (192, 220, 240), (v / 150.0) ** 0.8)
    cloud = fractal(u / 64.0, v / 22.0, 5, 5)
    amount = smoothstep(0.48, 0.78, cloud) * (1.0 - 0.6 * v / 150.0)
    shade = 0.88 + 0.12 * fractal(u / 20.0, v / 9.0, 7, 3)
    return mix(base, tuple(c * shade for c in (248, 250, 253)), amount)


def land(u, v):
    """Sky, mountains and hills above the shore; None below it."""
    if v >= SHORE:
        return None
    near = near_ridge(u)
    if v >= near:
        depth = (v - near) / max(1.0, SHORE - near)
        trees = fractal(u / 3.0, v / 2.2, 31, 3)
        green = mix((70, 122, 72), (30, 64, 40), depth * 0.7 + 0.3)
        return mix(green, (18, 40, 24), smoothstep(0.45, 0.8, trees) * 0.8)
    far = far_ridge(u)
    if v >= far:
        height = (v - far) / 50.0
        rock = fractal(u / 6.0, v / 4.0, 41, 3)
        stone = mix((104, 124, 156), (140, 160, 186), height)
        stone = mix(stone, (80, 98, 130), smoothstep(0.5, 0.85, rock) * 0.6)
        snow = smoothstep(0.35, 0.6, fractal(u / 9.0, v / 5.0, 43, 2)) * (1.0 - smoothstep(0, 9, v - far))
        return mix(stone, (236, 242, 250), snow * 0.85)
    return sky(u, v)


def lake(u, v):
    """The mirror of the land, broken by small waves and darker with depth."""
    depth = (v - SHORE) / (HEIGHT - SHORE)
    wobble = 2.5 * (smooth_noise(u / 14.0, v / 2.5, 51) - 0.5) * (0.4 + depth)
    mirrored = land(u + wobble, 2 * SHORE - v - 1 - depth * 12)
    if mirrored is None:
        mirrored = (60, 90, 120)
    water = mix(mirrored, (20, 56, 92), 0.35 + 0.4 * depth)
    glint = smooth_noise(u / 22.0, v / 1.6, 53)
    return mix(water, (230, 240, 250), smoothstep(0.78, 0.95, glint) * (0.5 - 0.4 * depth))


def scene(u, v):
    colour = land(u, v)
    return colour if colour is not None else lake(u, v)


# ---------------------------------------------------------------- text from ImageMagick

@functools.lru_cache(maxsize=None)
def text_mask(text, pixels, embolden=0.0):
    """The text's coverage (0 to 255) as rows of bytes, white on black, `pixels` high."""
    command = ["convert", "-background", "black", "-fill", "white", "-font", FONT, "-density", "72",
               "-pointsize", f"{pixels:.2f}"]
    if embolden:
        command += ["-stroke", "white", "-strokewidth", f"{embolden:.2f}"]
    command += [f"label:{text}", "-colorspace", "gray", "-depth", "8", "pgm:-"]
    data = subprocess.run(command, check=True, capture_output=True).stdout
    fields, at = [], 0
    while len(fields) < 4:  # P5, width, height, maximum
        while data[at:at + 1].isspace():
            at += 1
        end = at
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[at:end])
        at = end
    width, height = int(fields[1]), int(fields[2])
    pixels_at = at + 1
    rows = [data[pixels_at + y * width: pixels_at + (y + 1) * width] for y in range(height)]
    return width, height, rows


def ink_rows(mask):
    """The first and last rows that hold any ink."""
    _, height, rows = mask
    inked = [y for y in range(height) if max(rows[y]) > 64]
    return inked[0], inked[-1]


class Canvas:
    def __init__(self, scale):
        self.scale = scale / 100.0
        self.width = bitmaps.scaled(WIDTH, scale)
        self.height = bitmaps.scaled(HEIGHT, scale)
        self.pixels = [[(0.0, 0.0, 0.0)] * self.width for _ in range(self.height)]

    def paint(self, colour_at):
        """Every pixel from a function of its centre in 100 % units."""
        for y in range(self.height):
            v = (y + 0.5) / self.scale
            self.pixels[y] = [colour_at((x + 0.5) / self.scale, v) for x in range(self.width)]

    def blend(self, x, y, colour, alpha):
        if 0 <= x < self.width and 0 <= y < self.height and alpha > 0:
            self.pixels[y][x] = mix(self.pixels[y][x], colour, alpha)

    def pane(self, left, top, right, bottom, radius):
        """Frosted glass: the picture behind it lightened, with a brighter rim."""
        s = self.scale
        for y in range(int(top * s), int(bottom * s) + 1):
            for x in range(int(left * s), int(right * s) + 1):
                u, v = (x + 0.5) / s, (y + 0.5) / s
                cu = min(max(u, left + radius), right - radius)
                cv = min(max(v, top + radius), bottom - radius)
                outside = math.hypot(u - cu, v - cv) - radius
                if outside > 0.5:
                    continue
                cover = min(1.0, 0.5 - outside)
                rim = 1.0 - smoothstep(0.0, 1.2 / s + 0.6, -outside)
                self.blend(x, y, WHITE, cover * (0.62 + 0.3 * rim))

    def measure(self, text, pixels):
        """The text's width in 100 % units."""
        return text_mask(text, pixels * self.scale)[0] / self.scale

    def text(self, text, left, top, pixels, colour, embolden=0.0, ink_like=None, underline=False):
        """Text whose ink starts at `top` (100 % units); lines of one size share the ink top of
        `ink_like`, so their baselines agree."""
        s = self.scale
        width, height, rows = text_mask(text, pixels * s, embolden * s)
        first, _ = ink_rows(text_mask(ink_like or text, pixels * s))
        x0 = round_half_up(left * s)
        y0 = round_half_up(top * s) - first
        for y in range(height):
            for x in range(width):
                self.blend(x0 + x, y0 + y, colour, rows[y][x] / 255.0)
        if underline:
            inked = [x for x in range(width) if max(rows[y][x] for y in range(height)) > 64]
            base = y0 + ink_rows(text_mask("n", pixels * s))[1] + max(1, round_half_up(s))
            for thickness in range(max(1, round_half_up(s * 0.8))):
                for x in range(inked[0], inked[-1] + 1):
                    self.blend(x0 + x, base + thickness, colour, 0.85)

    def bmp(self):
        return bitmaps.bmp_bytes([[tuple(clamp_byte(c) for c in pixel) for pixel in row] for row in self.pixels])


def round_half_up(value):
    return int(math.floor(value + 0.5))


def clamp_byte(value):
    return max(0, min(255, int(value + 0.5)))


def draw(scale):
    canvas = Canvas(scale)
    canvas.paint(scene)

    title_size = 21
    title_left = (313 - canvas.measure(TITLE, title_size)) / 2
    for offset, alpha in ((1, 0.55), (2, 0.25)):  # a soft shadow under the white title
        shift = offset / canvas.scale
        canvas.text(TITLE, title_left + shift, 14 + shift, title_size, mix(WHITE, (10, 30, 70), alpha * 1.8),
                    embolden=0.4)
    canvas.text(TITLE, title_left, 14, title_size, WHITE, embolden=0.4)

    canvas.pane(14, 62, 299, 156, 6)
    size = 12
    for label, address, top in ((WEB_LABEL, WEB_ADDRESS, WEB_TOP), (MAIL_LABEL, MAIL_ADDRESS, MAIL_TOP)):
        ink_top = top + 1
        canvas.text(label, ADDRESS_LEFT - canvas.measure(label, size), ink_top, size, INK, ink_like=WEB_LABEL)
        canvas.text(address, ADDRESS_LEFT, ink_top, size, LINK, ink_like=WEB_LABEL, underline=True)

    slogan_size = 13
    canvas.text(SLOGAN, (313 - canvas.measure(SLOGAN, slogan_size)) / 2, 121, slogan_size, INK)
    fine_size = 11
    canvas.text(SMALL_PRINT, (313 - canvas.measure(SMALL_PRINT, fine_size)) / 2, 139, fine_size, FINE_PRINT)
    return canvas.bmp()


if __name__ == "__main__":
    for scale in [int(a) for a in sys.argv[1:]] or bitmaps.SCALES:
        (HERE / f"about_picture_{scale}.bmp").write_bytes(draw(scale))
        print(f"about_picture_{scale}.bmp")
