#!/usr/bin/env python3
"""Draws the installer's artwork as BMP files: make_art.py OUTPUT_FOLDER.

Every picture is drawn here from shapes, so the artwork is reproducible from the
repository with nothing but Python's standard library. Pictures drawn with a key
colour (the bubbles, the detail icons, the glyphs, the menu icons, the warning
icon) are drawn without anti-aliasing, because any pixel that is not exactly the
key colour would show as a fringe when the key is left out; the opaque pictures
(logo, side picture, corner picture) are smoothed by supersampling.
"""

import math
import os
import struct
import sys
import zlib

PURPLE = (128, 0, 128)   # key colour of the bubbles
TEAL = (0, 128, 128)     # key colour of the detail icons
OLIVE = (128, 128, 0)    # key colour of the glyphs, menu icons and warning icon
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
BLUE = (0, 0, 192)
RED = (204, 0, 0)
GREY = (128, 128, 128)
SILVER = (192, 192, 192)

# A 5 x 7 capital font for the few words the artwork writes.
FONT = {
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "C": ["01110", "10001", "10000", "10000", "10000", "10001", "01110"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "I": ["01110", "00100", "00100", "00100", "00100", "00100", "01110"],
    "L": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    "N": ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "R": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    "S": ["01111", "10000", "10000", "01110", "00001", "00001", "11110"],
    "T": ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    "U": ["10001", "10001", "10001", "10001", "10001", "10001", "01110"],
    "V": ["10001", "10001", "10001", "10001", "10001", "01010", "00100"],
    " ": ["00000"] * 7,
}


class Canvas:
    """An RGB picture; shapes are given by an inside(x, y) test on real coordinates."""

    def __init__(self, width, height, colour, samples=1):
        self.width, self.height, self.samples = width, height, samples
        self.pixels = [[colour] * width for _ in range(height)]

    def fill(self, inside, colour, box=None):
        x0, y0, x1, y1 = box or (0, 0, self.width, self.height)
        n = self.samples
        for y in range(max(0, int(y0)), min(self.height, int(math.ceil(y1)))):
            for x in range(max(0, int(x0)), min(self.width, int(math.ceil(x1)))):
                hits = sum(inside(x + (i + 0.5) / n, y + (j + 0.5) / n)
                           for i in range(n) for j in range(n))
                if n == 1:
                    if hits:
                        self.pixels[y][x] = colour
                elif hits:
                    a = hits / (n * n)
                    old = self.pixels[y][x]
                    self.pixels[y][x] = tuple(round(o + (c - o) * a) for o, c in zip(old, colour))

    def rect(self, x0, y0, x1, y1, colour):
        self.fill(lambda x, y: x0 <= x < x1 and y0 <= y < y1, colour, (x0, y0, x1, y1))

    def ellipse(self, cx, cy, rx, ry, colour):
        self.fill(lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0, colour,
                  (cx - rx, cy - ry, cx + rx + 1, cy + ry + 1))

    def polygon(self, points, colour):
        def inside(x, y):
            result = False
            for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
                if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                    result = not result
            return result
        xs, ys = [p[0] for p in points], [p[1] for p in points]
        self.fill(inside, colour, (min(xs), min(ys), max(xs) + 1, max(ys) + 1))

    def line(self, ax, ay, bx, by, width, colour):
        dx, dy = bx - ax, by - ay
        length = math.hypot(dx, dy)
        nx, ny = -dy / length * width / 2, dx / length * width / 2
        self.polygon([(ax + nx, ay + ny), (bx + nx, by + ny), (bx - nx, by - ny), (ax - nx, ay - ny)],
                     colour)

    def gradient(self, top, bottom, x0=0, y0=0, x1=None, y1=None):
        x1 = self.width if x1 is None else x1
        y1 = self.height if y1 is None else y1
        for y in range(y0, y1):
            t = (y - y0) / max(1, y1 - y0 - 1)
            colour = tuple(round(a + (b - a) * t) for a, b in zip(top, bottom))
            for x in range(x0, x1):
                self.pixels[y][x] = colour

    def text(self, x, y, words, scale, colour):
        for ch in words:
            rows = FONT[ch]
            for j, row in enumerate(rows):
                for i, bit in enumerate(row):
                    if bit == "1":
                        self.rect(x + i * scale, y + j * scale, x + (i + 1) * scale,
                                  y + (j + 1) * scale, colour)
            x += 6 * scale

    def save(self, path):
        """A 24-bit bottom-up BMP."""
        stride = (self.width * 3 + 3) & ~3
        data = bytearray()
        for row in reversed(self.pixels):
            line = bytearray()
            for r, g, b in row:
                line += bytes((b, g, r))
            data += line + b"\0" * (stride - len(line))
        header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
        info = struct.pack("<IiiHHIIiiII", 40, self.width, self.height, 1, 24, 0, len(data),
                           2835, 2835, 0, 0)
        with open(path, "wb") as f:
            f.write(header + info + data)


def text_width(words, scale):
    return len(words) * 6 * scale - scale


def bubble(mark):
    """34 x 34: a white speech bubble with a blue mark on the purple key."""
    c = Canvas(34, 34, PURPLE)
    c.polygon([(8, 22), (16, 25), (5, 32)], GREY)
    c.ellipse(16.5, 13.5, 15.5, 12.5, GREY)
    c.polygon([(9, 22), (15, 24), (7, 30)], WHITE)
    c.ellipse(16.5, 13.5, 14.5, 11.5, WHITE)
    if mark == "!":
        c.rect(15, 4, 19, 16, BLUE)
        c.rect(15, 19, 19, 23, BLUE)
    elif mark == "?":
        c.fill(lambda x, y: 3.0 <= math.hypot(x - 17, y - 9) <= 6.6 and
               not (x < 17 and y > 9), BLUE, (10, 2, 25, 17))
        c.rect(15, 14, 19, 18, BLUE)
        c.rect(15, 20, 19, 24, BLUE)
    else:
        c.line(11, 7, 22, 20, 3.5, BLUE)
        c.line(22, 7, 11, 20, 3.5, BLUE)
    return c


def detail_icon(cross):
    """18 x 18 on the teal key: a red disc with a white cross or a white bar."""
    c = Canvas(18, 18, TEAL)
    c.ellipse(8.5, 8.5, 8, 8, (128, 0, 0))
    c.ellipse(8.5, 8.5, 7, 7, RED)
    if cross:
        c.line(5.5, 5.5, 12, 12, 2.2, WHITE)
        c.line(12, 5.5, 5.5, 12, 2.2, WHITE)
    else:
        c.rect(4, 7, 14, 10, WHITE)
    return c


def warning_icon():
    """32 x 32: a yellow warning triangle with a black exclamation mark."""
    c = Canvas(32, 32, OLIVE)
    c.polygon([(16, 1), (31, 29), (1, 29)], BLACK)
    c.polygon([(16, 4), (28.5, 27.5), (3.5, 27.5)], (255, 204, 0))
    c.rect(14, 10, 18, 21, BLACK)
    c.rect(14, 23, 18, 26, BLACK)
    return c


def glyph_close():
    c = Canvas(8, 8, OLIVE)
    for i in range(7):
        c.rect(i, i, i + 2, i + 1, BLACK)
        c.rect(6 - i, i, 8 - i, i + 1, BLACK)
    c.rect(0, 7, 1, 8, OLIVE)  # keeps the bottom-left pixel the key colour
    return c


def glyph_arrow(down):
    c = Canvas(8, 8, OLIVE)
    for i in range(4):
        if down:
            c.rect(i, 2 + i, 7 - i, 3 + i, BLACK)
        else:
            c.rect(2 + i, i, 3 + i, 7 - i, BLACK)
    return c


def menu_icon(kind):
    c = Canvas(16, 16, OLIVE)
    if kind == "copy":
        for x, y in ((1, 1), (6, 5)):
            c.rect(x, y, x + 9, y + 11, BLACK)
            c.rect(x + 1, y + 1, x + 8, y + 10, WHITE)
            for k in range(3):
                c.rect(x + 2, y + 3 + 2 * k, x + 7, y + 4 + 2 * k, GREY)
    elif kind == "send":
        c.rect(1, 3, 15, 13, BLACK)
        c.rect(2, 4, 14, 12, WHITE)
        for i in range(6):
            c.rect(2 + i, 4 + i, 3 + i, 5 + i, BLACK)
            c.rect(13 - i, 4 + i, 14 - i, 5 + i, BLACK)
    else:
        c.line(4, 4, 12, 12, 2.2, RED)
        c.line(12, 4, 4, 12, 2.2, RED)
    return c


def logo():
    """180 x 60: the default product logo."""
    c = Canvas(180, 60, BLACK, samples=3)
    c.gradient((16, 40, 96), (4, 12, 40))
    c.ellipse(30, 30, 21, 21, (240, 176, 32))
    c.ellipse(30, 30, 15, 15, (16, 40, 96))
    c.polygon([(22, 30), (30, 22), (38, 30), (30, 38)], (240, 176, 32))
    c.text(60, 16, "SETUVANE", 2, WHITE)
    c.text(60, 36, "INSTALATOR", 1, (160, 190, 230))
    return c


def corner_picture():
    """275 x 190: the picture in the top left corner of the black window."""
    c = Canvas(275, 190, BLACK, samples=2)
    for k in range(9, 0, -1):
        shade = 12 + 10 * (9 - k)
        c.ellipse(0, 0, 30 * k, 21 * k, (0, shade // 3, shade))
    c.polygon([(0, 110), (275, 0), (275, 4), (0, 118)], (40, 80, 150))
    c.polygon([(0, 150), (200, 0), (206, 0), (0, 156)], (24, 56, 110))
    return c


def side_picture():
    """120 x 250: the picture at the left of every wizard page."""
    c = Canvas(120, 250, BLACK, samples=2)
    c.gradient((24, 64, 140), (6, 16, 48))
    for k, (cx, cy, r) in enumerate(((92, 40, 46), (20, 150, 60), (104, 226, 34))):
        c.ellipse(cx, cy, r, r, (30 + 12 * k, 80 + 10 * k, 160))
    # A medium with its label.
    c.ellipse(60, 110, 38, 38, (200, 206, 216))
    c.ellipse(60, 110, 36, 36, (226, 230, 238))
    c.ellipse(60, 110, 12, 12, (150, 160, 176))
    c.ellipse(60, 110, 5, 5, (6, 16, 48))
    c.polygon([(14, 200), (106, 200), (98, 236), (22, 236)], (240, 176, 32))
    c.text(60 - text_width("SETUVANE", 1) // 2, 214, "SETUVANE", 1, (16, 40, 96))
    return c


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    pictures = {
        "logo.bmp": logo(),
        "corner.bmp": corner_picture(),
        "motive.bmp": side_picture(),
        "bubble_warning.bmp": bubble("!"),
        "bubble_question.bmp": bubble("?"),
        "bubble_asterisk.bmp": bubble("x"),
        "detail_exception.bmp": detail_icon(True),
        "detail_critical.bmp": detail_icon(False),
        "warning_icon.bmp": warning_icon(),
        "glyph_close.bmp": glyph_close(),
        "glyph_right.bmp": glyph_arrow(False),
        "glyph_down.bmp": glyph_arrow(True),
        "menu_copy.bmp": menu_icon("copy"),
        "menu_send.bmp": menu_icon("send"),
        "menu_close.bmp": menu_icon("close"),
    }
    for name, picture in pictures.items():
        path = os.path.join(out, name)
        picture.save(path)
        # What the program carries: the file deflated (RFC 1951, no zlib header),
        # which its own inflate reads; flat shapes shrink to a few per cent.
        with open(path, "rb") as bmp, open(path + ".z", "wb") as packed:
            squeezer = zlib.compressobj(9, zlib.DEFLATED, -15)
            packed.write(squeezer.compress(bmp.read()) + squeezer.flush())


if __name__ == "__main__":
    main()
