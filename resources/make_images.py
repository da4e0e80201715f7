#!/usr/bin/env python3
"""Draws the program's own images as small pixel art and writes them next to
this script. Run it again after changing a drawing; the outputs are committed
so that a build needs no Python.

    tivrelon.ico   the main window's icon: 32 x 32, 16 colours
    about.ico      the About window's icon: 32 x 32, 256 colours
    donate.gif     the About window's donation button: 100 x 44
    hand.cur       the pointing hand over the About window's links: 32 x 32,
                   16 colours, hot spot at the fingertip (12, 1)
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


def shade(a, b, t):
    """The colour a fraction t of the way from a to b."""
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


def about_icon():
    """A shaded blue ball with a white "i": the information icon, in rgb."""
    size = 32
    px = [[None] * size for _ in range(size)]
    cx = cy = 15.5
    radius = 14.5
    for y in range(size):
        for x in range(size):
            d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
            if d > radius:
                continue
            # Light from the top left: bright there, deep blue at the far rim.
            lx, ly = x - 10, y - 9
            t = min(1.0, ((lx * lx + ly * ly) ** 0.5) / 26)
            px[y][x] = shade((150, 200, 255), (0, 40, 140), t)
            if d > radius - 1:
                px[y][x] = (0, 20, 80)
    white = (255, 255, 255)
    for y in range(7, 11):
        for x in range(14, 18):
            if (x, y) not in ((14, 7), (17, 7), (14, 10), (17, 10)):
                px[y][x] = white
    for y in range(13, 24):
        for x in range(14, 18):
            px[y][x] = white
    for x in range(12, 14):
        px[13][x] = white
    for x in range(12, 20):
        px[24][x] = px[25][x] = white
    return px


def ico_8bpp(px):
    """One 8-bit image in an .ico container, its palette made of the colours used."""
    size = len(px)
    colours = sorted({c for row in px for c in row if c is not None})
    assert len(colours) <= 255, len(colours)
    palette = [(0, 0, 0)] + colours
    index = {c: i for i, c in enumerate(palette)}
    row_xor = ((size * 8 + 31) // 32) * 4
    row_and = ((size + 31) // 32) * 4
    xor = bytearray()
    mask = bytearray()
    for y in reversed(range(size)):
        line = bytearray(row_xor)
        bits = bytearray(row_and)
        for x in range(size):
            c = px[y][x]
            if c is None:
                bits[x // 8] |= 0x80 >> (x % 8)
            else:
                line[x] = index[c]
        xor += line
        mask += bits
    palette += [(0, 0, 0)] * (256 - len(palette))
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 8, 0, len(xor) + len(mask), 0, 0, 256, 0)
    table = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in palette)
    image = header + table + bytes(xor) + bytes(mask)
    directory = struct.pack('<HHH', 0, 1, 1) + struct.pack('<BBBBHHII', size, size, 0, 0, 1, 8, len(image), 22)
    return directory + image


HAND = [
    "",
    "...........XXX",
    "..........XoooX",
    "..........XoooX",
    "..........XoooX",
    "..........XoooX",
    "..........XoooXXX",
    "..........XoooXooXXX",
    "..........XoooXooXooXXX",
    "..........XoooXooXooXooX",
    "......XXX.XoooXooXooXooX",
    "......XooXXooooooooooooX",
    "......XoooXooooooooooooX",
    ".......XooXooooooooooooX",
    ".......XoooooooooooooooX",
    "........XooooooooooooooX",
    "........XooooooooooooooX",
    ".........XooooooooooooX",
    ".........XooooooooooooX",
    "..........XooooooooooX",
    "..........XooooooooooX",
    "..........XXXXXXXXXXXX",
]
HAND_HOT_SPOT = (12, 1)  # the fingertip


def hand_cursor():
    """The pointing hand: black outline, white inside, 16 colours."""
    px = blank(32)
    for y, row in enumerate(HAND):
        for x, c in enumerate(row):
            if c == 'X':
                px[y][x] = BLACK
            elif c == 'o':
                px[y][x] = WHITE
    assert px[HAND_HOT_SPOT[1]][HAND_HOT_SPOT[0]] == BLACK
    return px


def cur_4bpp(px, hot_spot):
    """An .ico image turned cursor: type 2, the hot spot in the directory."""
    ico = bytearray(ico_4bpp(px))
    struct.pack_into('<H', ico, 2, 2)
    struct.pack_into('<HH', ico, 6 + 4, *hot_spot)
    return bytes(ico)


FONT = {  # 5 x 7 capitals, rows top down
    'A': ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    'D': ["11110", "10001", "10001", "10001", "10001", "10001", "11110"],
    'E': ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    'F': ["11111", "10000", "10000", "11110", "10000", "10000", "10000"],
    'I': ["01110", "00100", "00100", "00100", "00100", "00100", "01110"],
    'N': ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
    'O': ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    'R': ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    'U': ["10001", "10001", "10001", "10001", "10001", "10001", "01110"],
    ' ': ["00000"] * 7,
}


def text(px, x0, y0, words, scale, colour):
    for i, ch in enumerate(words):
        glyph = FONT[ch]
        for gy, row in enumerate(glyph):
            for gx, bit in enumerate(row):
                if bit == '1':
                    for dy in range(scale):
                        for dx in range(scale):
                            px[y0 + gy * scale + dy][x0 + (i * 6 + gx) * scale + dx] = colour


def text_width(words, scale):
    return (len(words) * 6 - 1) * scale


def donate_button():
    """A rounded gold button saying "FAIRE UN DON" on the window's black."""
    w, h = 100, 44
    px = [[(0, 0, 0)] * w for _ in range(h)]
    top, bottom = (255, 222, 120), (240, 160, 20)
    for y in range(1, h - 1):
        for x in range(1, w - 1):
            # Cut the corners round.
            corner = min(x - 1, w - 2 - x) + min(y - 1, h - 2 - y)
            if min(x - 1, w - 2 - x) < 4 and min(y - 1, h - 2 - y) < 4 and corner < 4:
                continue
            px[y][x] = shade(top, bottom, (y - 1) / (h - 3))
    for x in range(5, w - 5):
        px[1][x] = (255, 240, 190)
        px[h - 2][x] = (160, 100, 0)
    navy = (0, 40, 110)
    for line, y0 in (("FAIRE", 6), ("UN DON", 24)):
        text(px, (w - text_width(line, 2)) // 2, y0, line, 2, navy)
    return px


def gif(px):
    """A GIF89a of one image, 8-bit codes, LZW-compressed."""
    h, w = len(px), len(px[0])
    colours = sorted({c for row in px for c in row})
    assert len(colours) <= 256, len(colours)
    palette = colours + [(0, 0, 0)] * (256 - len(colours))
    index = {c: i for i, c in enumerate(colours)}
    pixels = [index[c] for row in px for c in row]

    out = bytearray(b'GIF89a')
    out += struct.pack('<HHBBB', w, h, 0xF7, 0, 0)  # global table of 256 colours
    out += b''.join(struct.pack('BBB', *c) for c in palette)
    out += b',' + struct.pack('<HHHHB', 0, 0, w, h, 0)
    min_code = 8
    out.append(min_code)
    data = lzw(pixels, min_code)
    for i in range(0, len(data), 255):
        block = data[i:i + 255]
        out.append(len(block))
        out += block
    out += b'\x00;'
    return bytes(out)


def lzw(pixels, min_code):
    clear, end = 1 << min_code, (1 << min_code) + 1
    bits = bytearray()
    acc = nacc = 0

    def put(code, width):
        nonlocal acc, nacc
        acc |= code << nacc
        nacc += width
        while nacc >= 8:
            bits.append(acc & 0xFF)
            acc >>= 8
            nacc -= 8

    def reset():
        return {(i,): i for i in range(clear)}, end + 1, min_code + 1

    table, next_code, width = reset()
    put(clear, width)
    current = ()
    for p in pixels:
        candidate = current + (p,)
        if candidate in table:
            current = candidate
            continue
        put(table[current], width)
        if next_code < 4096:
            table[candidate] = next_code
            next_code += 1
            # The decoder widens one code later than it adds the entry.
            if next_code > (1 << width) and width < 12:
                width += 1
        else:
            put(clear, width)
            table, next_code, width = reset()
        current = (p,)
    put(table[current], width)
    put(end, width)
    if nacc:
        bits.append(acc & 0xFF)
    return bytes(bits)


def main():
    outputs = {
        'tivrelon.ico': ico_4bpp(folder_icon()),
        'about.ico': ico_8bpp(about_icon()),
        'hand.cur': cur_4bpp(hand_cursor(), HAND_HOT_SPOT),
        'donate.gif': gif(donate_button()),
    }
    for name, data in outputs.items():
        with open(os.path.join(HERE, name), 'wb') as f:
            f.write(data)


if __name__ == '__main__':
    main()
