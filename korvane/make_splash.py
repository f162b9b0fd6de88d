#!/usr/bin/env python3
"""Draws the launcher's splash picture, korvane.bmp: a thick ring with cutting
tools in their holders pointing outwards all around it, "UNIGRAPHICS NX" in red
at the top left and "Ascii" in bold black in the middle of the ring, on white.
289 x 290 pixels, 4 bits per pixel with a 16-colour palette, uncompressed.

    python3 make_splash.py [OUTPUT]      (default: korvane.bmp next to this script)

Plain Python, no libraries: the picture is built from a few shapes given in
each tool's own coordinates (along its axis and across it), and outlined where
two shapes meet.
"""
import math
import os
import struct
import sys

WIDTH, HEIGHT = 289, 290

# The 16-colour palette of the host's platform, as (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, NAVY, SILVER, GREY, RED, YELLOW, CYAN, WHITE = 0, 4, 7, 8, 9, 11, 14, 15

CENTRE_X, CENTRE_Y = 146.0, 160.0
RING_INNER, RING_OUTER = 42.0, 60.0
TOOL_COUNT = 12

# 5 x 7 letters, '#' set. Only what the picture writes.
GLYPHS = {
    "U": ["#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "N": ["#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"],
    "I": ["###", ".#.", ".#.", ".#.", ".#.", ".#.", "###"],
    "G": [".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".###."],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "P": ["####.", "#...#", "#...#", "####.", "#....", "#....", "#...."],
    "H": ["#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "C": [".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."],
    "S": [".####", "#....", "#....", ".###.", "....#", "....#", "####."],
    "X": ["#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"],
    "s": ["....", "....", ".###", "#...", ".##.", "...#", "###."],
    "c": ["....", "....", ".###", "#...", "#...", "#...", ".###"],
    "i": ["#", ".", "#", "#", "#", "#", "#"],
    " ": ["..", "..", "..", "..", "..", "..", ".."],
}


def tool_shape(u, v, kind):
    """The colour of the point (u along the tool's axis from the ring's centre,
    v across it) of one tool in its holder, or None outside it."""
    a = abs(v)
    if 58 <= u < 72 and a <= 13 - (u - 58) * 0.25:  # taper shank, seated in the ring
        return GREY
    if 72 <= u < 78 and a <= 15:  # flange with its drive slot
        return NAVY if a < 2 else SILVER
    if 78 <= u < 94 and a <= 11 - (u - 78) * 0.2:  # holder body
        return SILVER
    if 94 <= u < 100 and a <= 8:  # collet nut
        return GREY
    if 100 <= u < 108 and a <= 5:  # tool shank
        return SILVER
    cut_end = 128
    if 108 <= u < cut_end and a <= 5:  # fluted cutting part
        return GREY if (u + 1.6 * v) % 6 < 2 else (YELLOW if kind == 1 else CYAN)
    if kind == 0 and cut_end <= u < cut_end + 1 and a <= 5:  # end mill: flat end
        return GREY
    if kind == 1 and cut_end <= u < cut_end + 7 and a <= 5 * (cut_end + 7 - u) / 7:  # drill point
        return YELLOW
    if kind == 2 and u >= cut_end and (u - cut_end) ** 2 + v * v <= 25:  # ball nose
        return CYAN
    return None


def draw_scene():
    """Colour and shape label of every pixel; labels tell the outlines where to go."""
    colour = [[WHITE] * WIDTH for _ in range(HEIGHT)]
    label = [[0] * WIDTH for _ in range(HEIGHT)]
    for y in range(HEIGHT):
        for x in range(WIDTH):
            dx, dy = x + 0.5 - CENTRE_X, y + 0.5 - CENTRE_Y
            r = math.hypot(dx, dy)
            if RING_INNER <= r <= RING_OUTER:
                # A little shading makes the ring read as a solid body.
                colour[y][x] = SILVER if r < (RING_INNER + RING_OUTER) / 2 else GREY
                label[y][x] = 1
                continue
            for n in range(TOOL_COUNT):
                angle = 2 * math.pi * (n + 0.5) / TOOL_COUNT
                u = dx * math.cos(angle) - dy * math.sin(angle)
                v = dx * math.sin(angle) + dy * math.cos(angle)
                shade = tool_shape(u, v, n % 3)
                if shade is not None:
                    colour[y][x] = shade
                    label[y][x] = 2 + n
                    break
    for y in range(HEIGHT):
        for x in range(WIDTH):
            if label[y][x] == 0:
                continue
            for nx, ny in ((x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)):
                if not (0 <= nx < WIDTH and 0 <= ny < HEIGHT) or label[ny][nx] != label[y][x]:
                    colour[y][x] = BLACK
                    break
    return colour


def text_width(text, scale):
    return sum((len(GLYPHS[c][0]) + 1) * scale for c in text) - scale


def write_text(colour, text, left, top, scale, shade, bold=False):
    x0 = left
    for c in text:
        glyph = GLYPHS[c]
        for row, line in enumerate(glyph):
            for col, bit in enumerate(line):
                if bit != "#":
                    continue
                for sy in range(scale):
                    for sx in range(scale + (1 if bold else 0)):
                        colour[top + row * scale + sy][x0 + col * scale + sx] = shade
        x0 += (len(glyph[0]) + 1) * scale


def bmp_bytes(colour):
    row_size = ((WIDTH * 4 + 31) // 32) * 4
    pixels = bytearray()
    for y in reversed(range(HEIGHT)):  # bottom-up, as the format stores rows
        row = bytearray(row_size)
        for x in range(0, WIDTH, 2):
            high = colour[y][x]
            low = colour[y][x + 1] if x + 1 < WIDTH else 0
            row[x // 2] = (high << 4) | low
        pixels += row
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    offset = 14 + 40 + len(palette)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info_header = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 4, 0, len(pixels), 2835, 2835, 16, 16)
    return file_header + info_header + palette + bytes(pixels)


def main():
    output = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                                                "korvane.bmp")
    colour = draw_scene()
    write_text(colour, "UNIGRAPHICS NX", 4, 4, 2, RED)
    scale = 3
    write_text(colour, "Ascii", int(CENTRE_X - text_width("Ascii", scale) / 2), int(CENTRE_Y - 7 * scale / 2), scale,
               BLACK, bold=True)
    with open(output, "wb") as out:
        out.write(bmp_bytes(colour))


if __name__ == "__main__":
    main()
