#!/usr/bin/env python3
"""Writes korvane.ico (32 by 32, 16 colours) from the picture drawn below.

The icon is checked in; run this again (from the project folder) after changing the picture.
Picture keys: . transparent, k black, g grey, w white, b dark blue, c cyan.
"""
import struct
import sys

PALETTE = {  # key: index into the standard 16-colour palette
    "k": 0, "b": 4, "g": 8, "c": 14, "w": 15,
}
COLOURS = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
    (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]

PICTURE = [
    "................................",
    "................................",
    "..kkkkkkkkkkkkkkkkkkkkkkkkkkkk..",
    "..kggggggggggggggggggggggggggk..",
    "..kgkkkkkkkkkkkkkkkkkkkkkkkkgk..",
    "..kgkbbbbbbbbbbbbbbbbbbbbbbkgk..",
    "..kgkbbbbbbbbbbbbbbbbbbbbbbkgk..",
    "..kgkbbbbbbbwbbbbbbbbbbbbbbkgk..",
    "..kgkbbbbbbbwwbbbbbbbbbbbbbkgk..",
    "..kgkbbbbbbbwwwbbbbbbbbbbbbkgk..",
    "..kgkbbbbbbbwwwwbbbbbbbbbbbkgk..",
    "..kgkbbbbbbbwwwwwbbbbbbbbbbkgk..",
    "..kgkbbbbbbbwwwwwwbbbbbbbbbkgk..",
    "..kgkbbbbbbbwwwwwwwbbbbbbbbkgk..",
    "..kgkbbbbbbbwwwwwwwwbbbbbbbkgk..",
    "..kgkbbbbbbbwwwwwwwbbbbbbbbkgk..",
    "..kgkbbbbbbbwwwwwwbbbbbbbbbkgk..",
    "..kgkbbbbbbbwwwwwbbbbbbbbbbkgk..",
    "..kgkbbbbbbbwwwwbbbbbbbbbbbkgk..",
    "..kgkbbbbbbbwwwbbbbbbbbbbbbkgk..",
    "..kgkbbbbbbbwwbbbbbbbbbbbbbkgk..",
    "..kgkbbbbbbbwbbbbbbbbbbbbbbkgk..",
    "..kgkbbbbbbbbbbbbbbbbbbbcccckgk..",
    "..kgkkkkkkkkkkkkkkkkkkkkkkkkgk..",
    "..kggggggggggggggggggggggggggk..",
    "..kkkkkkkkkkkkkkkkkkkkkkkkkkkk..",
    "...........kkgggggggkk..........",
    "...........kggggggggk...........",
    ".........kkkkkkkkkkkkkk.........",
    ".........kggggggggggggk.........",
    ".........kkkkkkkkkkkkkk.........",
    "................................",
]


def icon_bytes():
    rows = [row[:32].ljust(32, ".") for row in PICTURE]
    assert len(rows) == 32
    xor = bytearray()
    mask = bytearray()
    for row in reversed(rows):  # bitmaps are stored bottom-up
        for x in range(0, 32, 2):
            hi, lo = (PALETTE.get(ch, 0) for ch in row[x:x + 2])
            xor.append(hi << 4 | lo)
        bits = 0
        for ch in row:
            bits = bits << 1 | (ch == ".")
        mask += bits.to_bytes(4, "big")
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in COLOURS)
    header = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
    image = header + palette + bytes(xor) + bytes(mask)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", 32, 32, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


if __name__ == "__main__":
    out = sys.argv[1] if len(sys.argv) > 1 else "src/resources/korvane.ico"
    with open(out, "wb") as f:
        f.write(icon_bytes())
