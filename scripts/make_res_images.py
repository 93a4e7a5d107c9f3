#!/usr/bin/env python3
"""Draws the program's small pictures and writes them as BMP and ICO files.

Outputs (next to the resource script, in res/):
  kestos.ico          class icon, 32x32 and 16x16, 4 bits per pixel
  lang_pl.bmp         language item "PL", not checked (navy ground)
  lang_pl_checked.bmp language item "PL", checked (blue ground)
  lang_en.bmp         language item "EN", not checked
  lang_en_checked.bmp language item "EN", checked
  about_logo.bmp      About dialog logo, 238x62, 24 bits per pixel

Standard library only: the BMP and ICO bytes are written here, so the output
is the same on every machine and can be regenerated at any time.

Usage: scripts/make_res_images.py [output directory]   (default: <repo>/res)
"""

import math
import struct
import sys
from pathlib import Path

# The 16 colours of the classic Windows palette, in its usual order, so the
# menu bitmaps look the same on a 16-colour display as on a true-colour one.
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
NAVY, BLUE, WHITE = 4, 12, 15

# The icon needs an orange, which the classic palette lacks; its magenta,
# which the icon does not use, is traded for it.
ICON_PALETTE = list(VGA16)
ICON_PALETTE[13] = (255, 140, 0)

# Hand-made 8-pixel-high capitals for the menu bitmaps: two-pixel stems make
# them read well at menu size on a dark ground.
GLYPHS = {
    "P": [
        "#####.",
        "##..##",
        "##..##",
        "##..##",
        "#####.",
        "##....",
        "##....",
        "##....",
    ],
    "L": [
        "##...",
        "##...",
        "##...",
        "##...",
        "##...",
        "##...",
        "#####",
        "#####",
    ],
    "E": [
        "####",
        "##..",
        "##..",
        "###.",
        "##..",
        "##..",
        "##..",
        "####",
    ],
    "N": [
        "##..##",
        "###.##",
        "###.##",
        "######",
        "##.###",
        "##.###",
        "##..##",
        "##..##",
    ],
}


def pack_rows_4bpp(pixels, width, height):
    """Bottom-up 4-bit rows, each padded to a multiple of 4 bytes."""
    stride = ((width * 4 + 31) // 32) * 4
    out = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray(stride)
        for x in range(width):
            v = pixels[y][x] & 0x0F
            if x % 2 == 0:
                row[x // 2] |= v << 4
            else:
                row[x // 2] |= v
        out += row
    return bytes(out)


def pack_mask_1bpp(mask, width, height):
    """Bottom-up AND mask: 1 = transparent, rows padded to 4 bytes."""
    stride = ((width + 31) // 32) * 4
    out = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray(stride)
        for x in range(width):
            if mask[y][x]:
                row[x // 8] |= 0x80 >> (x % 8)
        out += row
    return bytes(out)


def palette_bytes(palette):
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)


def info_header(width, height, image_size, bpp=4, colours=16):
    # BITMAPINFOHEADER, uncompressed; by default 4 bpp with all 16 palette
    # entries used, true-colour images pass bpp=24 and no palette.
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bpp, 0,
                       image_size, 2835, 2835, colours, colours)


def bmp_bytes(pixels, palette):
    height = len(pixels)
    width = len(pixels[0])
    bits = pack_rows_4bpp(pixels, width, height)
    pal = palette_bytes(palette)
    offset = 14 + 40 + len(pal)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    return file_header + info_header(width, height, len(bits)) + pal + bits


def bmp24_bytes(pixels):
    """pixels: rows of (r, g, b), top row first."""
    height = len(pixels)
    width = len(pixels[0])
    stride = ((width * 24 + 31) // 32) * 4
    bits = bytearray()
    for row in reversed(pixels):
        line = b"".join(struct.pack("<BBB", b, g, r) for (r, g, b) in row)
        bits += line + bytes(stride - len(line))
    offset = 14 + 40
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    return file_header + info_header(width, height, len(bits), 24, 0) + bytes(bits)


def ico_bytes(images, palette):
    """images: list of (pixels, mask); pixels are palette indexes."""
    pal = palette_bytes(palette)
    blobs = []
    for pixels, mask in images:
        size = len(pixels)
        xor = pack_rows_4bpp(pixels, size, size)
        andm = pack_mask_1bpp(mask, size, size)
        # The height in an icon's header counts the colour and mask halves.
        blobs.append(info_header(size, size * 2, len(xor) + len(andm)) + pal + xor + andm)
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for (pixels, _), blob in zip(images, blobs):
        size = len(pixels)
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 16, 0, 1, 4,
                           len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    return bytes(out)


def lettered(text, width, height, ground):
    """White capitals centred on a plain ground, one blank column between letters."""
    pixels = [[ground] * width for _ in range(height)]
    glyphs = [GLYPHS[c] for c in text]
    text_w = sum(len(g[0]) for g in glyphs) + (len(glyphs) - 1)
    text_h = len(glyphs[0])
    x0 = (width - text_w + 1) // 2
    y0 = (height - text_h) // 2
    x = x0
    for g in glyphs:
        for gy, line in enumerate(g):
            for gx, ch in enumerate(line):
                if ch == "#":
                    pixels[y0 + gy][x + gx] = WHITE
        x += len(g[0]) + 1
    return pixels


# Icon: a tachometer dial (navy rim with a blue bevel, white face, navy
# ticks with a red zone, orange needle on a navy hub) and a small blue gas
# flame with an orange and yellow heart in the free lower part of the face.
# Drawn pixel by pixel; '.' is transparent.
ICON_COLOURS = {"N": NAVY, "B": BLUE, "W": WHITE, "R": 9, "O": 13, "Y": 11}

ICON_32 = [
    "............NNNNNNNN............",
    ".........NNNBBBBBBBBNNN.........",
    ".......NNBBBBBBBBBBBBBBNN.......",
    "......NNBBBBWWWNNWWWBBBBNN......",
    ".....NBBBBWNWWWNNWWWNWBBBBN.....",
    "....NBBBWWWWWWWNNWWWWWWWBBBN....",
    "...NBBBWWWWWWWWWWWWWWWWWWBBBN...",
    "..NNBBWNNWWWWWWWWWWWOWWNNWBBNN..",
    "..NBBWWWNNWWWWWWWWWOOWNNWWWBBN..",
    ".NBBBWWWWNWWWWWWWWWOOWNWWWWBBBN.",
    ".NBBWWWWWWWWWWWWWWOOWWWWWWWWBBN.",
    ".NBBNWWWWWWWWWWWWWOOWWWWWWWRBBN.",
    "NBBWWWWWWWWWWWWWWOOWWWWWWWWWWBBN",
    "NBBWWWWWWWWWWWWWOOWWWWWWWWWWWBBN",
    "NBBWWWWWWWWWWWWNNOWWWWWWWWWWWBBN",
    "NBBNNNWWWWWWWWNNNNWWWWWWWWRRRBBN",
    "NBBNNNWWWWWWWWNNNNWWWWWWWWRRRBBN",
    "NBBWWWWWWWWWWWWNNWWWWWWWWWWWWBBN",
    "NBBWWWWWWWWWWWWWWWWWWWWWWWWWWBBN",
    "NBBWWWWWWWWWWWWWBWWWWWWWWWWWWBBN",
    ".NBBNWWWWWWWWWWBBWWWWWWWWWWRBBN.",
    ".NBBWWWWWWWWWWWBBBWWWWWWWWWWBBN.",
    ".NBBBWWWWNWWWWBBOBWWWWRWWWWBBBN.",
    "..NBBWWWNNWWWBBOOBBWWWRRWWWBBN..",
    "..NNBBWNNWWWWBOOYOBWWWWRRWBBNN..",
    "...NBBBWWWWWWBOYYOBWWWWWWBBBN...",
    "....NBBBWWWWWBBOOBBWWWWWBBBN....",
    ".....NBBBBWWWWBBBBWWWWBBBBN.....",
    "......NNBBBBWWWWWWWWBBBBNN......",
    ".......NNBBBBBBBBBBBBBBNN.......",
    ".........NNNBBBBBBBBNNN.........",
    "............NNNNNNNN............",
]

ICON_16 = [
    ".....NNNNNN.....",
    "...NNBBBBBBNN...",
    "..NNBBWWWWBBNN..",
    ".NNBWWWNNWWOBNN.",
    ".NBWNWWWWWOOWBN.",
    "NBBWWWWWWOOWWBBN",
    "NBWWWWWWOOWWWWBN",
    "NBWNWWWNNWWWRWBN",
    "NBWNWWWNNWWWRWBN",
    "NBWWWWWWWWWWWWBN",
    "NBBWWWWWBWWWWBBN",
    ".NBWNWWBOBWRWBN.",
    ".NNBWWWBOBWWBNN.",
    "..NNBBWWBWBBNN..",
    "...NNBBBBBBNN...",
    ".....NNNNNN.....",
]


def icon_image(art):
    size = len(art)
    assert all(len(row) == size for row in art), "icon art must be square"
    pixels = [[0 if ch == "." else ICON_COLOURS[ch] for ch in row] for row in art]
    mask = [[1 if ch == "." else 0 for ch in row] for row in art]
    return pixels, mask


# About logo: "KestoS" in round-ended strokes next to an orange gas flame, on
# a navy-to-blue ground, with a small subtitle. True colour, anti-aliased by
# sampling every pixel SS x SS times.
LOGO_W, LOGO_H = 238, 62
SS = 4


class Mask:
    """Coverage of shapes on a grid of SS x SS samples per pixel."""

    def __init__(self, width, height):
        self.w, self.h = width * SS, height * SS
        self.bits = bytearray(self.w * self.h)

    def _sample_rows(self, top, bottom):
        return range(max(0, math.floor(top * SS)), min(self.h, math.ceil(bottom * SS)))

    def stroke(self, points, radius, dx=0.0, dy=0.0):
        """Polyline with round ends and joins: every sample within radius."""
        pts = [(x + dx, y + dy) for x, y in points]
        for (ax, ay), (bx, by) in zip(pts, pts[1:] or pts):
            vx, vy = bx - ax, by - ay
            length2 = vx * vx + vy * vy or 1e-9
            for sy in self._sample_rows(min(ay, by) - radius, max(ay, by) + radius):
                py = (sy + 0.5) / SS
                x_lo = max(0, math.floor((min(ax, bx) - radius) * SS))
                x_hi = min(self.w, math.ceil((max(ax, bx) + radius) * SS))
                for sx in range(x_lo, x_hi):
                    px = (sx + 0.5) / SS
                    t = max(0.0, min(1.0, ((px - ax) * vx + (py - ay) * vy) / length2))
                    ex, ey = px - ax - t * vx, py - ay - t * vy
                    if ex * ex + ey * ey <= radius * radius:
                        self.bits[sy * self.w + sx] = 1

    def fill(self, polygon, dx=0.0, dy=0.0):
        """Closed polygon, even-odd rule, filled span by span."""
        pts = [(x + dx, y + dy) for x, y in polygon]
        edges = list(zip(pts, pts[1:] + pts[:1]))
        ys = [y for _, y in pts]
        for sy in self._sample_rows(min(ys), max(ys)):
            py = (sy + 0.5) / SS
            xs = sorted(ax + (py - ay) * (bx - ax) / (by - ay)
                        for (ax, ay), (bx, by) in edges
                        if (ay <= py) != (by <= py))
            for x0, x1 in zip(xs[0::2], xs[1::2]):
                for sx in range(max(0, math.ceil(x0 * SS - 0.5)),
                                min(self.w, math.ceil(x1 * SS - 0.5))):
                    self.bits[sy * self.w + sx] = 1

    def coverage(self, x, y):
        row = (y * SS) * self.w + x * SS
        return sum(sum(self.bits[row + k * self.w:row + k * self.w + SS])
                   for k in range(SS)) / (SS * SS)


def arc(cx, cy, rx, ry, start, end):
    """Points of an elliptic arc; angles in degrees, counter-clockwise on screen."""
    steps = max(2, math.ceil(abs(end - start) / 5))
    return [(cx + rx * math.cos(math.radians(a)), cy - ry * math.sin(math.radians(a)))
            for a in (start + (end - start) * i / steps for i in range(steps + 1))]


def bezier_path(start, *curves):
    """Closed outline from cubic curves, each (control, control, end)."""
    points = [start]
    for c1, c2, end in curves:
        p0 = points[-1]
        for i in range(1, 17):
            t = i / 16
            u = 1 - t
            points.append(tuple(u * u * u * a + 3 * u * u * t * b + 3 * u * t * t * c + t * t * t * d
                                for a, b, c, d in zip(p0, c1, c2, end)))
    return points[:-1]


# Lettering, as centre lines of strokes LOGO_PEN wide: a glyph is a list of
# strokes, a stroke a list of points and arcs (cx, cy, rx, ry, from, to).
# Units are pixels, y down from the cap line; x-height from y=10 to the
# baseline at y=34, so the ink of a capital spans y=0..34 and starts at x=0.
LOGO_PEN = 5.0
LETTERS = {
    "K": [[(2.5, 2.5), (2.5, 31.5)],
          [(19.5, 2.5), (3.5, 21)],
          [(10, 12.5), (20, 31.5)]],
    "e": [[(2.5, 22), (20.5, 22), (11.5, 22, 9, 9.5, 0, 318)]],
    "s": [[(9, 17.1, 6.5, 4.6, 35, 270), (9, 26.6, 6.5, 4.9, 90, -145)]],
    "t": [[(6.5, 4), (11.5, 26.5, 5, 5, 180, 270), (14.5, 31.5)],
          [(2.5, 12.5), (14, 12.5)]],
    "o": [[(12, 22, 9.5, 9.5, 0, 360)]],
    "S": [[(11.5, 9.4, 9, 6.9, 30, 270), (11.5, 23.9, 9, 7.6, 90, -150)]],
}

# Flame emblem, 32 x 44 px: an orange outer tongue with a yellow heart.
FLAME_OUTER = bezier_path(
    (16, 44),
    ((25, 44), (31, 37), (31, 28)),
    ((31, 18), (23, 11), (19, 0)),
    ((17, 9), (3, 15), (1, 28)),
    ((0, 37), (7, 44), (16, 44)),
)
FLAME_INNER = bezier_path(
    (16, 42),
    ((21, 42), (24, 38), (24, 33)),
    ((24, 27), (19, 24), (17, 15)),
    ((15, 22), (8, 27), (8, 33)),
    ((8, 38), (11, 42), (16, 42)),
)

# Subtitle capitals, 5 x 7.
SMALL_GLYPHS = {
    " ": ["...", "...", "...", "...", "...", "...", "..."],
    "C": [".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."],
    "E": ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
    "G": [".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####"],
    "I": ["###", ".#.", ".#.", ".#.", ".#.", ".#.", "###"],
    "L": ["#....", "#....", "#....", "#....", "#....", "#....", "#####"],
    "O": [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "P": ["####.", "#...#", "#...#", "####.", "#....", "#....", "#...."],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    "S": [".####", "#....", "#....", ".###.", "....#", "....#", "####."],
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    "V": ["#...#", "#...#", "#...#", ".#.#.", ".#.#.", "..#..", "..#.."],
}

LOGO_GROUND_LEFT = (12, 28, 66)
LOGO_GROUND_RIGHT = (28, 84, 168)
LOGO_TEXT = (255, 255, 255)
LOGO_SHADOW = (4, 10, 28)
LOGO_SUBTITLE = (168, 200, 240)
FLAME_TIP = (236, 72, 0)
FLAME_BASE = (255, 152, 0)
FLAME_HEART = (255, 214, 64)


def lerp(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def glyph_strokes(glyph):
    strokes = []
    for stroke in glyph:
        points = []
        for item in stroke:
            points += arc(*item) if len(item) == 6 else [item]
        strokes.append(points)
    return strokes


def blend(pixels, mask, colour, alpha=1.0):
    """colour: (r, g, b), or a function of the row for a vertical gradient."""
    for y, row in enumerate(pixels):
        c = colour(y) if callable(colour) else colour
        for x, old in enumerate(row):
            a = mask.coverage(x, y) * alpha
            if a:
                row[x] = lerp(old, c, a)


def about_logo(text="KestoS", subtitle="LPG SERVICE TOOL"):
    w, h = LOGO_W, LOGO_H
    pixels = [[lerp(LOGO_GROUND_LEFT, LOGO_GROUND_RIGHT, x / (w - 1)) for x in range(w)]
              for _ in range(h)]

    # Glyph ink boxes a fixed gap apart; the flame, a space and the word are
    # centred as one group so both side margins match.
    gap, flame_w, space = 3.5, 32, 14
    letters = [glyph_strokes(LETTERS[ch]) for ch in text]
    widths = [max(px for s in g for px, _ in s) + LOGO_PEN / 2 for g in letters]
    text_w = sum(widths) + gap * (len(widths) - 1)
    fx = round((w - flame_w - space - text_w) / 2)
    tx, ty = fx + flame_w + space, 8

    # Flame centred on the height of the lettering plus subtitle.
    fy = 9
    outer, inner = Mask(w, h), Mask(w, h)
    outer.fill(FLAME_OUTER, fx, fy)
    inner.fill(FLAME_INNER, fx, fy)
    blend(pixels, outer, lambda y: lerp(FLAME_TIP, FLAME_BASE, min(1, max(0, (y - fy) / 36))))
    blend(pixels, inner, FLAME_HEART)

    ink, shadow = Mask(w, h), Mask(w, h)
    x = tx
    for strokes, width in zip(letters, widths):
        for s in strokes:
            ink.stroke(s, LOGO_PEN / 2, x, ty)
            shadow.stroke(s, LOGO_PEN / 2, x + 1, ty + 1.5)
        x += width + gap
    blend(pixels, shadow, LOGO_SHADOW, 0.45)
    blend(pixels, ink, LOGO_TEXT)

    # Subtitle in hard pixels, lined up with the stem of the first letter.
    x, y = tx, ty + 34 + 5
    for ch in subtitle:
        g = SMALL_GLYPHS[ch]
        for gy, line in enumerate(g):
            for gx, c in enumerate(line):
                if c == "#":
                    pixels[y + gy][x + gx] = LOGO_SUBTITLE
        x += len(g[0]) + 2

    return [[tuple(int(v + 0.5) for v in px) for px in row] for row in pixels]


def main():
    here = Path(__file__).resolve().parent
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else here.parent / "res"
    out.mkdir(parents=True, exist_ok=True)
    files = {
        "lang_pl.bmp": bmp_bytes(lettered("PL", 14, 12, NAVY), VGA16),
        "lang_pl_checked.bmp": bmp_bytes(lettered("PL", 14, 12, BLUE), VGA16),
        "lang_en.bmp": bmp_bytes(lettered("EN", 13, 12, NAVY), VGA16),
        "lang_en_checked.bmp": bmp_bytes(lettered("EN", 13, 12, BLUE), VGA16),
        "kestos.ico": ico_bytes([icon_image(ICON_32), icon_image(ICON_16)], ICON_PALETTE),
        "about_logo.bmp": bmp24_bytes(about_logo()),
    }
    for name, data in files.items():
        (out / name).write_bytes(data)
        print(f"{out / name}: {len(data)} bytes")


if __name__ == "__main__":
    main()
