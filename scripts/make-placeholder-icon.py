#!/usr/bin/env python3
"""Writes a simple 32x32 32-bit placeholder icon (.ico) for the sample client's files.

usage: make-placeholder-icon.py OUT.ico RRGGBB
"""
import struct
import sys


def main():
    out, colour = sys.argv[1], sys.argv[2]
    r, g, b = (int(colour[i:i + 2], 16) for i in (0, 2, 4))
    size = 32
    pixels = bytearray()
    for y in range(size):            # bottom-up rows
        for x in range(size):
            dx, dy = x - 15.5, y - 15.5
            inside = dx * dx + dy * dy <= 15.0 * 15.0
            ring = inside and dx * dx + dy * dy >= 11.0 * 11.0
            if not inside:
                pixels += bytes((0, 0, 0, 0))
            elif ring:
                pixels += bytes((255, 255, 255, 255))
            else:
                pixels += bytes((b, g, r, 255))
    mask = bytes(size * 4)           # 1-bit AND mask, rows padded to 32 bits, all opaque
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0,
                         len(pixels) + len(mask), 0, 0, 0, 0)
    image = header + bytes(pixels) + mask
    icondir = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(image), 6 + 16)
    with open(out, 'wb') as f:
        f.write(icondir + entry + image)


if __name__ == '__main__':
    main()
