#!/usr/bin/env python3
"""Draws data/Images/GreenBtn.bmp: the 15 by 15 glyph of a marked line's
check button, a shaded green disc on the button face, as a 24-bit BMP."""
import math
import struct
import sys

SIZE = 15
FACE = (240, 240, 240)


def pixel(x, y):
    cx = cy = (SIZE - 1) / 2
    r = 5.6
    d = math.hypot(x - cx, y - cy)
    if d > r + 0.5:
        return FACE
    # Lighter towards the upper left, as if lit from there.
    light = max(0.0, 1.0 - math.hypot(x - cx + 2, y - cy + 2) / (r + 2))
    green = (int(30 + 90 * light), int(140 + 100 * light), int(30 + 90 * light))
    edge = min(1.0, max(0.0, r + 0.5 - d))  # soft rim
    return tuple(int(f + (g - f) * edge) for f, g in zip(FACE, green))


def bmp():
    row_bytes = (SIZE * 3 + 3) // 4 * 4
    rows = []
    for y in reversed(range(SIZE)):  # bottom-up
        row = b"".join(bytes((b, g, r)) for r, g, b in (pixel(x, y) for x in range(SIZE)))
        rows.append(row + b"\0" * (row_bytes - len(row)))
    image = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(image), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 24, 0, len(image), 2835, 2835, 0, 0)
    return header + info + image


if __name__ == "__main__":
    with open(sys.argv[1] if len(sys.argv) > 1 else "data/Images/GreenBtn.bmp", "wb") as out:
        out.write(bmp())
