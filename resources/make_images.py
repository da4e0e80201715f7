#!/usr/bin/env python3
"""Draws the program's own images as small pixel art and writes them next to
this script. Run it again after changing a drawing; the outputs are committed
so that a build needs no Python.

    tivrelon.ico   the main window's icon: 32 x 32, 16 colours
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

# The standard 16-colour palette, index -> (r, g, b).
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DARK_YELLOW, GREY, LIGHT_GREY = 0, 3, 8, 7
BLUE, YELLOW, WHITE, RED, CYAN, NAVY = 12, 11, 15, 9, 14, 4


def blank(size):
    return [[None] * size for _ in range(size)]  # None: transparent


def rect(px, x0, y0, x1, y1, colour):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            px[y][x] = colour


def outline(px, x0, y0, x1, y1, colour):
    for x in range(x0, x1 + 1):
        px[y0][x] = px[y1][x] = colour
    for y in range(y0, y1 + 1):
        px[y][x0] = px[y][x1] = colour


def folder_icon():
    """A yellow folder carrying a small picture: a folder with its own icon."""
    px = blank(32)
    # Back of the folder with its tab.
    rect(px, 2, 6, 12, 9, DARK_YELLOW)
    outline(px, 2, 6, 12, 9, BLACK)
    rect(px, 2, 9, 29, 27, DARK_YELLOW)
    outline(px, 2, 9, 29, 27, BLACK)
    # Front flap, lighter, slightly lower.
    rect(px, 3, 13, 28, 26, YELLOW)
    for x in range(3, 29):
        px[12][x] = BLACK
    for y in range(13, 27):
        px[y][28] = DARK_YELLOW
    # The picture the folder now wears: a framed blue square with a sun.
    rect(px, 13, 15, 24, 24, WHITE)
    outline(px, 13, 15, 24, 24, NAVY)
    rect(px, 14, 16, 23, 23, CYAN)
    rect(px, 14, 21, 23, 23, BLUE)
    rect(px, 20, 17, 22, 19, YELLOW)
    # Shadow under the folder.
    for x in range(4, 31):
        px[28][x] = GREY
    for y in range(11, 29):
        px[y][30] = GREY
    return px


def ico_4bpp(px):
    """One 4-bit image in an .ico container, with its AND mask."""
    size = len(px)
    row_xor = ((size * 4 + 31) // 32) * 4
    row_and = ((size + 31) // 32) * 4
    xor = bytearray()
    mask = bytearray()
    for y in reversed(range(size)):  # bottom-up rows
        line = bytearray(row_xor)
        bits = bytearray(row_and)
        for x in range(size):
            c = px[y][x]
            idx = 0 if c is None else c
            if x % 2 == 0:
                line[x // 2] |= idx << 4
            else:
                line[x // 2] |= idx
            if c is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        xor += line
        mask += bits
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in VGA16)
    image = header + palette + bytes(xor) + bytes(mask)
    directory = struct.pack('<HHH', 0, 1, 1) + struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(image), 22)
    return directory + image


def main():
    with open(os.path.join(HERE, 'tivrelon.ico'), 'wb') as f:
        f.write(ico_4bpp(folder_icon()))


if __name__ == '__main__':
    main()
