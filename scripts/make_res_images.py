#!/usr/bin/env python3
"""Draws the program's small pictures and writes them as 16-colour files.

Outputs (next to the resource script, in res/):
  kestos.ico          class icon, 32x32 and 16x16, 4 bits per pixel
  lang_pl.bmp         language item "PL", not checked (navy ground)
  lang_pl_checked.bmp language item "PL", checked (blue ground)
  lang_en.bmp         language item "EN", not checked
  lang_en_checked.bmp language item "EN", checked

Standard library only: the BMP and ICO bytes are written here, so the output
is the same on every machine and can be regenerated at any time.

Usage: scripts/make_res_images.py [output directory]   (default: <repo>/res)
"""

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


def info_header(width, height, image_size):
    # BITMAPINFOHEADER, uncompressed, 4 bpp, all 16 palette entries used.
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0,
                       image_size, 2835, 2835, 16, 16)


def bmp_bytes(pixels, palette):
    height = len(pixels)
    width = len(pixels[0])
    bits = pack_rows_4bpp(pixels, width, height)
    pal = palette_bytes(palette)
    offset = 14 + 40 + len(pal)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    return file_header + info_header(width, height, len(bits)) + pal + bits


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
    }
    for name, data in files.items():
        (out / name).write_bytes(data)
        print(f"{out / name}: {len(data)} bytes")


if __name__ == "__main__":
    main()
