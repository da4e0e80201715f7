#!/usr/bin/env python3
"""Writes the test icons: five 32 x 32 icons of plain colours, the fourth
(index 3) opaque blue on its left half and transparent on its right half,
so a test can tell which icon was drawn and whether the box was cleared;
and a sixth like the fourth whose 48 x 48 image is of another colour than
its 32 x 32 one, so a test can tell which size was drawn."""
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
# (name, [(side, left half)]): the right halves transparent.
SIZED = ("teal-orange", [(48, (0, 128, 255)), (32, (128, 128, 0))])


def image_bytes(side, left, right):
    pixels = bytearray()
    mask = bytearray()
    row_bytes = (side + 31) // 32 * 4
    for _row in range(side):  # bottom-up; every row alike
        bits = 0
        for x in range(side):
            colour = left if x < side // 2 else right
            if colour is None:
                pixels += bytes((0, 0, 0, 0))
                bits |= 1 << (row_bytes * 8 - 1 - x)
            else:
                pixels += bytes((*colour, 255))
        mask += bits.to_bytes(row_bytes, "big")
    header = struct.pack("<IiiHHIIiiII", 40, side, side * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    return header + pixels + mask


def icon_bytes(images):
    """images: [(side, left, right)], in directory order."""
    directory = struct.pack("<HHH", 0, 1, len(images))
    data = b""
    offset = 6 + 16 * len(images)
    for side, left, right in images:
        image = image_bytes(side, left, right)
        directory += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(image), offset + len(data))
        data += image
    return directory + data


here = Path(__file__).parent
for n, (name, left, right) in enumerate(ICONS):
    (here / f"icon{n}-{name}.ico").write_bytes(icon_bytes([(SIZE, left, right)]))
name, images = SIZED
(here / f"icon{len(ICONS)}-{name}.ico").write_bytes(icon_bytes([(side, left, None) for side, left in images]))
