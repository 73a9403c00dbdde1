#!/usr/bin/env python3
"""Reads what the book shows from a screenshot of it (a binary PPM of the book window alone).

screen.py pages BOOK.ppm      prints the page numbers, "LEFT RIGHT"; RIGHT is "-" when the right
                              page number is not shown, either is "?" when it cannot be read
screen.py panel WINDOW.ppm    prints the share (0 to 1) of pixels in the progress window's
                              panel colour
screen.py underline BOOK.ppm  prints "X Y" of the left end of the reading underline (the longest
                              pure red line on the pages, the default underline colour), or "-"
screen.py line BOOK.ppm OUT   writes to OUT the first text line of the left page as the pixels
                              of its ink, for a run whose page font is pure green
screen.py holds BOOK.ppm LINE prints "yes" when that line's ink is drawn somewhere on the book

The run that is read prepares its store so that each page number group is drawn in pure blue
with the prefix "0123456789" and no suffix (see use_readable_page_numbers in lib.sh). Nothing
else on the book is blue, so the blue pixels of each half of the book are exactly that group.
The prefix gives templates of the ten digits as the program itself draws them; the glyphs that
follow it are the page number, and each is read as the template it matches best.
"""
import sys

PREFIX_DIGITS = 10


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    fields = []
    pos = 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            while data[pos:pos + 1] not in (b"\n", b""):
                pos += 1
            continue
        start = pos
        while not data[pos:pos + 1].isspace():
            pos += 1
        fields.append(data[start:pos])
    pos += 1
    if fields[0] != b"P6" or int(fields[3]) != 255:
        raise SystemExit("not a binary 8-bit PPM: " + path)
    return int(fields[1]), int(fields[2]), data[pos:]


def blue_mask(width, height, pixels):
    mask = []
    for y in range(height):
        row = pixels[3 * width * y:3 * width * (y + 1)]
        mask.append([row[3 * x + 2] > 140 and row[3 * x] < 110 and row[3 * x + 1] < 110
                     for x in range(width)])
    return mask


def glyphs(mask, x0, x1):
    """Runs of columns in [x0, x1) holding blue, each cut to its own rows."""
    height = len(mask)
    columns = [any(mask[y][x] for y in range(height)) for x in range(x0, x1)]
    runs, start = [], None
    for i, used in enumerate(columns + [False]):
        if used and start is None:
            start = i
        elif not used and start is not None:
            runs.append((x0 + start, x0 + i))
            start = None
    result = []
    for a, b in runs:
        rows = [y for y in range(height) if any(mask[y][a:b])]
        result.append([mask[y][a:b] for y in range(rows[0], rows[-1] + 1)])
    return result, runs


def distance(glyph, template):
    """Pixels that differ, trying small shifts so that sub-pixel placement does not matter."""
    best = None
    gh, gw = len(glyph), len(glyph[0])
    th, tw = len(template), len(template[0])
    for dy in (-1, 0, 1):
        for dx in (-1, 0, 1):
            diff = 0
            for y in range(min(gh, th + abs(dy)) + 1):
                for x in range(max(gw, tw) + 1):
                    g = 0 <= y < gh and 0 <= x < gw and glyph[y][x]
                    ty, tx = y + dy, x + dx
                    t = 0 <= ty < th and 0 <= tx < tw and template[ty][tx]
                    diff += g != t
            diff += abs(gh - th) * max(gw, tw)
            best = diff if best is None else min(best, diff)
    return best


def read_group(mask, x0, x1):
    found, runs = glyphs(mask, x0, x1)
    if not found:
        return "-"
    if len(found) <= PREFIX_DIGITS:
        return "?"
    templates, number = found[:PREFIX_DIGITS], found[PREFIX_DIGITS:]
    # A glyph that matches no digit well is not a digit we drew: refuse to guess.
    digits = []
    for g in number:
        scores = [distance(g, t) for t in templates]
        best = min(range(10), key=lambda d: scores[d])
        ink = sum(sum(row) for row in g)
        if scores[best] > max(6, ink // 4):
            return "?"
        digits.append(str(best))
    return "".join(digits)


def underline(width, height, pixels):
    best = None  # (length, x, y)
    margin = 15
    for y in range(margin, height - margin):
        run = 0
        for x in range(margin, width - margin + 1):
            i = 3 * (width * y + x)
            red = x < width - margin and pixels[i] > 180 and pixels[i + 1] < 60 and pixels[i + 2] < 60
            if red:
                run += 1
            elif run:
                if best is None or run > best[0]:
                    best = (run, x - run, y)
                run = 0
    if best is None or best[0] < 20:
        return "-"
    return "%d %d" % (best[1], best[2])


def panel_share(width, height, pixels):
    """Share of the pixels in the progress window's panel colour (red 177, green 183, blue 233)."""
    near = 0
    for i in range(0, 3 * width * height, 3):
        if abs(pixels[i] - 177) <= 12 and abs(pixels[i + 1] - 183) <= 12 and abs(pixels[i + 2] - 233) <= 12:
            near += 1
    return near / float(width * height)


def green_ink(width, height, pixels):
    """Book-relative (x, y) of the pixels drawn in the pure green page font."""
    ink = set()
    for y in range(height):
        for x in range(width):
            i = 3 * (width * y + x)
            if pixels[i + 1] > 150 and pixels[i] < 110 and pixels[i + 2] < 110:
                ink.add((x, y))
    return ink


def first_line(ink, width, pitch=12):
    """The ink of the topmost text line of the left half, relative to its first pixel."""
    left = [(x, y) for x, y in ink if x < width // 2]
    if not left:
        return []
    top = min(y for _, y in left)
    line = sorted((y - top, x) for x, y in left if y < top + pitch)
    x0 = min(x for _, x in line)
    return [(x - x0, y) for y, x in line]


def holds(ink, line):
    """Whether the line's ink is drawn somewhere: the text is the same font at the same pitch,
    so its pixels repeat where it is drawn; the skin under it differs, so a few edge pixels may
    not, and a share of them is forgiven."""
    if not line:
        return False
    forgiven = max(3, len(line) // 20)
    ax, ay = min(line, key=lambda p: (p[1], p[0]))
    for x, y in ink:
        misses = 0
        for dx, dy in line:
            if (x - ax + dx, y - ay + dy) not in ink:
                misses += 1
                if misses > forgiven:
                    break
        if misses <= forgiven:
            return True
    return False


def main():
    what, path = sys.argv[1], sys.argv[2]
    width, height, pixels = read_ppm(path)
    if what == "line":
        with open(sys.argv[3], "w") as out:
            out.write(repr(first_line(green_ink(width, height, pixels), width)))
        return
    if what == "holds":
        with open(sys.argv[3]) as f:
            line = eval(f.read())
        print("yes" if holds(green_ink(width, height, pixels), line) else "no")
        return
    if what == "panel":
        print("%.2f" % panel_share(width, height, pixels))
        return
    if what == "underline":
        print(underline(width, height, pixels))
        return
    mask = blue_mask(width, height, pixels)
    half = width // 2
    print(read_group(mask, 0, half), read_group(mask, half, width))


if __name__ == "__main__":
    main()
