#!/usr/bin/env python3
"""Draws the built-in book skin, resources/skin.bmp: an open book seen from above.

The picture is 895 x 620, a 32-bit uncompressed BMP (see write_bmp), and is shown stretched to the window. Its
parts sit where the book's layout expects them, given here on the 556 x 380 reference book and
scaled: the page texts lie at x 33..263 and 306..536, y 28..358, so the paper reaches a little
beyond them; the outer 13 pixels at either side are the page-turn strips, where the edges of the
stacked pages show. Standard library only, so a fresh checkout can always redraw it.

Usage: tools/make_skin.py [OUTPUT]   (default: resources/skin.bmp beside this script's parent)
"""
import math
import os
import struct
import sys

WIDTH, HEIGHT = 895, 620
PIXELS_OFFSET = 64
SX, SY = WIDTH / 556.0, HEIGHT / 380.0

# Geometry in reference units, turned into pixels of the picture.
GUTTER_X = 284.5 * SX  # the fold, midway between the two text areas
PAPER_LEFT = 13.0 * SX  # the top sheet starts where the left strip ends
PAPER_RIGHT = 543.0 * SX  # and ends where the right strip begins
PAPER_TOP = 13.0 * SY
PAPER_BOTTOM = 366.0 * SY
SHEETS = 5  # stacked sheets under the top one, seen at the outer edges and the bottom
SHEET_STEP_X = 1.35 * SX
SHEET_STEP_Y = 0.95 * SY
GUTTER_DIP = 5.0
STITCH_INSET = 5.0  # pixels from the cover's edge
STITCH_PERIOD = 8.0  # pixels the top and bottom edges sink toward the fold

LEATHER = (178, 96, 38)
PAPER = (253, 250, 241)
SHEET_EDGE = (222, 211, 188)
SHEET_LINE = (168, 150, 120)


def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def mix(a, b, t):
    return (a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t, a[2] + (b[2] - a[2]) * t)


def scale(c, f):
    return (c[0] * f, c[1] * f, c[2] * f)


def hash2(ix, iy, seed):
    h = (ix * 374761393 + iy * 668265263 + seed * 2147483647) & 0xFFFFFFFF
    h = ((h ^ (h >> 13)) * 1274126177) & 0xFFFFFFFF
    return ((h ^ (h >> 16)) & 0xFFFF) / 65535.0


def value_noise(x, y, cell, seed):
    """Smooth noise in 0..1 with features about `cell` pixels across."""
    fx, fy = x / cell, y / cell
    ix, iy = math.floor(fx), math.floor(fy)
    tx, ty = fx - ix, fy - iy
    tx, ty = tx * tx * (3 - 2 * tx), ty * ty * (3 - 2 * ty)
    a = hash2(ix, iy, seed)
    b = hash2(ix + 1, iy, seed)
    c = hash2(ix, iy + 1, seed)
    d = hash2(ix + 1, iy + 1, seed)
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty


def dip(x):
    """How far the page edges sink near the fold, as pages curve down into the spine."""
    g = (x - GUTTER_X) / 55.0
    return GUTTER_DIP * math.exp(-g * g)


def sheet_distance(x, y, k):
    """Signed distance (positive inside) to sheet k; sheet 0 is the top page, deeper sheets
    reach a little further out to the sides and down."""
    left = PAPER_LEFT - k * SHEET_STEP_X
    right = PAPER_RIGHT + k * SHEET_STEP_X
    top = PAPER_TOP + k * 0.2 + dip(x)
    bottom = PAPER_BOTTOM + k * SHEET_STEP_Y - dip(x)
    return min(x - left, right - x, y - top, bottom - y)


def leather(x, y):
    grain = value_noise(x, y, 3.0, 1) * 0.6 + value_noise(x, y, 9.0, 2) * 0.4
    mottle = value_noise(x, y, 60.0, 3)
    c = scale(LEATHER, 0.9 + 0.12 * grain + 0.1 * mottle)
    # Raised edge of the cover: light from the top left.
    edge = min(x + 0.5, y + 0.5, WIDTH - 0.5 - x, HEIGHT - 0.5 - y)
    if edge < 4.0:
        t = 1.0 - edge / 4.0
        lit = min(x, y) < min(WIDTH - x, HEIGHT - y)  # nearest edge is the top or the left
        c = mix(c, (236, 168, 104), 0.55 * t) if lit else scale(c, 1.0 - 0.45 * t)
    c = stitching(x, y, edge, c)
    # The paper block throws a soft shadow on the cover.
    d = -min(sheet_distance(x - 1.5, y - 2.0, SHEETS), 0.0)
    if d < 9.0:
        c = scale(c, 1.0 - 0.45 * (1.0 - d / 9.0) ** 2)
    return c


def stitching(x, y, edge, c):
    """A seam of short stitches running round the cover, a little in from its edge."""
    across = edge - STITCH_INSET
    if abs(across) > 1.6:
        return c
    # Position along the seam, so the stitches follow it round the corners.
    on_top_or_bottom = min(y, HEIGHT - y) <= min(x, WIDTH - x)
    along = x if on_top_or_bottom else y
    phase = (along % STITCH_PERIOD) / STITCH_PERIOD
    if phase < 0.62:
        t = clamp(1.0 - abs(across) / 1.1) * clamp(min(phase, 0.62 - phase) * 14.0)
        c = mix(c, (238, 196, 134), 0.8 * t)
        if across > 0.6:  # the thread's shadow on the side away from the light
            c = scale(c, 0.9)
    else:
        c = scale(c, 0.93)
    return c


def sheet_colour(x, y, k):
    """Colour of a stacked sheet's visible edge: pale paper with a darker line at its border."""
    d = sheet_distance(x, y, k)
    shade = 1.0 - 0.025 * k
    c = scale(SHEET_EDGE, shade)
    if d < 1.0:
        c = mix(c, SHEET_LINE, 1.0 - d)
    g = abs(x - GUTTER_X)
    if g < 6.0:  # the stack folds into the spine too
        c = scale(c, 1.0 - 0.3 * (1.0 - g / 6.0))
    return c


def paper(x, y):
    grain = value_noise(x, y, 2.0, 4) - 0.5
    c = scale(PAPER, 1.0 + 0.012 * grain)
    g = abs(x - GUTTER_X)
    # The pages curve down into the spine: darker and warmer toward the fold.
    fold = 0.24 * math.exp(-g / 10.0) + 0.11 * math.exp(-g / 40.0)
    c = (c[0] * (1 - fold), c[1] * (1 - fold * 1.08), c[2] * (1 - fold * 1.3))
    # Each page bulges toward the light a little, so its outer part is brighter.
    page_w = GUTTER_X - PAPER_LEFT if x < GUTTER_X else PAPER_RIGHT - GUTTER_X
    u = g / page_w
    c = scale(c, 0.985 + 0.015 * math.sin(math.pi * clamp(u * 1.2)))
    # The crease itself.
    if g < 1.5:
        c = mix(c, (140, 118, 92), 0.45 * (1.0 - g / 1.5))
    # The top sheet's own border, so it reads apart from the stack below it.
    d = sheet_distance(x, y, 0)
    if d < 1.2 and g > 3.0:
        c = mix(c, SHEET_LINE, 0.55 * (1.0 - d / 1.2))
    return c


def pixel(x, y):
    """Colour at pixel centre (x, y), built from the bottom layer up."""
    cx, cy = x + 0.5, y + 0.5
    c = leather(cx, cy)
    for k in range(SHEETS, 0, -1):
        cover = clamp(sheet_distance(cx, cy, k) + 0.5)
        if cover > 0:
            c = mix(c, sheet_colour(cx, cy, k), cover)
    cover = clamp(sheet_distance(cx, cy, 0) + 0.5)
    if cover > 0:
        c = mix(c, paper(cx, cy), cover)
    return c


def write_bmp(path, rows):
    """rows: top-down list of bytearrays of B, G, R triples, each WIDTH pixels long.

    The file is laid out as the program draws it, so that it can draw the pixels where they lie
    in its binary instead of decoding a copy: 32 bits a pixel (B, G, R, 255: a QImage of format
    RGB32 on a little-endian machine), rows top-down (a negative height), and the pixels starting
    at PIXELS_OFFSET, a multiple of 64 bytes from the file's start."""
    image_size = WIDTH * 4 * HEIGHT
    header = struct.pack("<2sIHHI", b"BM", PIXELS_OFFSET + image_size, 0, 0, PIXELS_OFFSET)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, -HEIGHT, 1, 32, 0, image_size, 3780, 3780, 0, 0)
    with open(path, "wb") as out:
        out.write(header)
        out.write(info)
        out.write(bytes(PIXELS_OFFSET - len(header) - len(info)))
        for row in rows:
            for x in range(0, len(row), 3):
                out.write(row[x:x + 3])
                out.write(b"\xff")


def render():
    rows = []
    for y in range(HEIGHT):
        row = bytearray()
        for x in range(WIDTH):
            r, g, b = pixel(x, y)
            row += bytes(int(clamp(v, 0, 255) + 0.5) for v in (b, g, r))
        rows.append(row)
    return rows


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "resources", "skin.bmp")
    write_bmp(out, render())
    print(out)


if __name__ == "__main__":
    main()
