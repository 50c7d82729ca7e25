#!/usr/bin/env python3
"""Draws Calvendrake's two icons and writes them as res/Calvendrake.ico and res/About.ico.

Each file holds one 32 x 32 image with 8 bits per pixel. Both share one fixed
256-colour palette, so the output is the same on every run and the icons only
differ in their pixels. Usage: make_icons.py [output folder] (default: res/
beside this script's folder).
"""
import os
import struct
import sys

SIZE = 32


def make_palette():
    """The 16 classic Windows colours, a 6 x 6 x 6 colour cube and a 24-step grey ramp: 256 entries."""
    classic = [
        (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
        (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
        (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
        (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
    ]
    levels = (0, 51, 102, 153, 204, 255)
    cube = [(r, g, b) for r in levels for g in levels for b in levels]
    greys = [(v, v, v) for v in range(8, 248, 10)]
    return classic + cube + greys


PALETTE = make_palette()


def colour(rgb):
    """Palette index of an exact palette colour; drawing with anything else is a mistake here."""
    return PALETTE.index(rgb)


WHITE = colour((255, 255, 255))
PAPER_SHADE = colour((204, 204, 204))
OUTLINE = colour((51, 51, 51))
CODE = colour((0, 51, 153))
CODE_WORD = colour((204, 0, 0))
RESULT = colour((0, 102, 51))
RESULT_LIGHT = colour((153, 204, 153))
ARROW = colour((255, 153, 0))
ARROW_EDGE = colour((153, 51, 0))
CHECK = colour((0, 153, 0))
CHECK_EDGE = colour((0, 51, 0))


class Canvas:
    """A 32 x 32 grid of palette indices; None is a transparent pixel."""

    def __init__(self):
        self.pixels = [[None] * SIZE for _ in range(SIZE)]

    def put(self, x, y, index):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            self.pixels[y][x] = index

    def rect(self, x, y, w, h, index):
        for row in range(y, y + h):
            for col in range(x, x + w):
                self.put(col, row, index)

    def polygon(self, points, index):
        """Fills the pixels whose centres lie inside the polygon (even-odd rule)."""
        for row in range(SIZE):
            cy = row + 0.5
            for col in range(SIZE):
                cx = col + 0.5
                inside = False
                for (x1, y1), (x2, y2) in zip(points, points[1:] + points[:1]):
                    if (y1 > cy) != (y2 > cy):
                        if cx < x1 + (cy - y1) * (x2 - x1) / (y2 - y1):
                            inside = not inside
                if inside:
                    self.put(col, row, index)

    def outline(self, fill, edge):
        """Gives every pixel of colour `fill` that touches a pixel of another colour the colour `edge`."""
        edges = []
        for y in range(SIZE):
            for x in range(SIZE):
                if self.pixels[y][x] != fill:
                    continue
                for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                    nx, ny = x + dx, y + dy
                    outside = not (0 <= nx < SIZE and 0 <= ny < SIZE)
                    if outside or self.pixels[ny][nx] != fill:
                        edges.append((x, y))
                        break
        for x, y in edges:
            self.put(x, y, edge)


def sheet(canvas, x, y, w, h):
    """A sheet of paper with a folded top-right corner; returns nothing, draws in place."""
    fold = 4
    canvas.rect(x, y, w, h, OUTLINE)
    canvas.rect(x + 1, y + 1, w - 2, h - 2, WHITE)
    # Cut the corner away, then draw the folded-over flap.
    for i in range(fold):
        for j in range(fold - i):
            canvas.put(x + w - fold + i + j, y + i, None)
    for i in range(fold):
        canvas.put(x + w - fold + i, y + i, OUTLINE)
        canvas.put(x + w - fold - 1, y + i, OUTLINE)
        canvas.put(x + w - fold + i, y + fold, OUTLINE)
        for j in range(i):
            canvas.put(x + w - fold + j, y + i, PAPER_SHADE)
    canvas.put(x + w - 1, y + fold, OUTLINE)


def code_lines(canvas, x, y, rows):
    """NC program text: a red address letter, then blue digits, as in 'G01 X10.'."""
    for n, words in enumerate(rows):
        col = x
        for length in words:
            canvas.put(col, y + 2 * n, CODE_WORD)
            canvas.rect(col + 1, y + 2 * n, length - 1, 1, CODE)
            col += length + 1


def result_lines(canvas, x, y, widths):
    """The converted file: even, dark green lines with a light second column."""
    for n, width in enumerate(widths):
        canvas.rect(x, y + 2 * n, width, 1, RESULT)
        canvas.rect(x + width + 1, y + 2 * n, 2, 1, RESULT_LIGHT)


def arrow(canvas, x, y):
    """A bold arrow pointing right, 12 pixels long and 13 high, its tip at (x + 11, y + 6)."""
    canvas.polygon([(x, y + 4), (x + 6, y + 4), (x + 6, y), (x + 12.5, y + 6.5),
                    (x + 6, y + 13), (x + 6, y + 9), (x, y + 9)], ARROW)
    canvas.outline(ARROW, ARROW_EDGE)


def check_mark(canvas, x, y):
    """A thick check mark in a 14 x 11 box at (x, y)."""
    canvas.polygon([(x, y + 5), (x + 3, y + 3), (x + 5.5, y + 6), (x + 11, y), (x + 14, y + 2),
                    (x + 5.5, y + 11)], CHECK)
    canvas.outline(CHECK, CHECK_EDGE)


def draw_mainframe():
    """NC program on the left, arrow, converted file on the right: what the program does."""
    canvas = Canvas()
    sheet(canvas, 0, 1, 13, 19)
    code_lines(canvas, 2, 6, [(3, 3), (3, 4), (2, 3), (3, 3, 2), (3, 4), (2, 2)])
    sheet(canvas, 19, 12, 13, 19)
    result_lines(canvas, 21, 17, [5, 6, 5, 6, 4, 6])
    arrow(canvas, 8, 9)
    return canvas


def draw_about():
    """The converted file, checked: the conversion is done."""
    canvas = Canvas()
    sheet(canvas, 5, 1, 19, 26)
    result_lines(canvas, 8, 7, [9, 10, 8, 10, 9, 7, 10, 8])
    check_mark(canvas, 15, 18)
    return canvas


def ico_bytes(canvas):
    """One-image .ico: directory, BITMAPINFOHEADER (double height), palette, pixels, AND mask."""
    xor_rows = []
    and_rows = []
    for row in reversed(canvas.pixels):  # bitmaps are stored bottom-up
        xor_rows.append(bytes(0 if p is None else p for p in row))
        mask = 0
        for p in row:
            mask = (mask << 1) | (1 if p is None else 0)
        and_rows.append(struct.pack(">I", mask))
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 8, 0,
                         SIZE * SIZE + 4 * SIZE, 0, 0, 256, 0)
    image = header + palette + b"".join(xor_rows) + b"".join(and_rows)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 8, len(image), 6 + 16)
    return directory + entry + image


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, os.pardir, "res")
    for name, canvas in (("Calvendrake.ico", draw_mainframe()), ("About.ico", draw_about())):
        with open(os.path.join(folder, name), "wb") as out:
            out.write(ico_bytes(canvas))


if __name__ == "__main__":
    main()
