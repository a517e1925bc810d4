#!/usr/bin/env python3
"""Writes an .ico file whose images are the given PNG files (PNG-compressed icon entries).

usage: make-icon.py OUT.ico IMAGE.png...   (each PNG square, at most 256 pixels wide)
"""
import struct
import sys


def png_size(data):
    if data[:8] != b'\x89PNG\r\n\x1a\n':
        sys.exit('not a PNG file')
    return struct.unpack('>II', data[16:24])


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    images = []
    for path in sys.argv[2:]:
        with open(path, 'rb') as f:
            data = f.read()
        width, height = png_size(data)
        images.append((width, height, data))
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for width, height, data in images:
        out += struct.pack('<BBBBHHII', width % 256, height % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b''.join(data for _, _, data in images)
    with open(sys.argv[1], 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main()
