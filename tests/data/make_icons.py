#!/usr/bin/env python3
"""Writes the test icons: five 32 x 32 icons of plain colours, the fourth
(index 3) opaque blue on its left half and transparent on its right half,
so a test can tell which icon was drawn and whether the box was cleared."""
import struct
from pathlib import Path

SIZE = 32
# (blue, green, red) per icon; None halves are transparent.
ICONS = [
    ("red", (0, 0, 255), (0, 0, 255)),
    ("green", (0, 160, 0), (0, 160, 0)),
    ("yellow", (0, 255, 255), (0, 255, 255)),
    ("blue", (255, 0, 0), None),
    ("magenta", (255, 0, 255), (255, 0, 255)),
]


def icon_bytes(left, right):
    pixels = bytearray()
    mask = bytearray()
    for _row in range(SIZE):  # bottom-up; every row alike
        bits = 0
        for x in range(SIZE):
            colour = left if x < SIZE // 2 else right
            if colour is None:
                pixels += bytes((0, 0, 0, 0))
                bits |= 1 << (SIZE - 1 - x)
            else:
                pixels += bytes((*colour, 255))
        mask += bits.to_bytes(4, "big")
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    image = header + pixels + mask
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 22)
    return directory + image


here = Path(__file__).parent
for n, (name, left, right) in enumerate(ICONS):
    (here / f"icon{n}-{name}.ico").write_bytes(icon_bytes(left, right))
