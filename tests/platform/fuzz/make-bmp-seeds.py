#!/usr/bin/env python3
"""Writes the seed pictures of platform_bmp_fuzz into bmp-seeds/ beside this script.

Small pictures of every kind the reader takes: 1, 4, 8 and 24 bits per pixel
uncompressed, and RLE8 and RLE4 with runs, literal runs, a delta and the end
codes.
"""
import os
import struct


def bmp(width, height, bits, pixels, compression=0, colors=None):
    if colors is None:
        colors = [] if bits == 24 else [(i * 37 % 256, i * 91 % 256, i * 13 % 256)
                                        for i in range(1 << bits)]
    table = b"".join(bytes([b, g, r, 0]) for (r, g, b) in colors)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, compression, len(pixels),
                       2835, 2835, len(colors), 0)
    offset = 14 + len(info) + len(table)
    head = b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset)
    return head + info + table + pixels


def rows(width, height, bits, value):
    scan = ((width * bits + 31) // 32) * 4
    out = b""
    for y in range(height):
        row = bytes(value(x, y) for x in range((width * bits + 7) // 8))
        out += row.ljust(scan, b"\0")
    return out


SEEDS = {
    "mono-9x3.bmp": bmp(9, 3, 1, rows(9, 3, 1, lambda x, y: 0xA5 ^ y)),
    "nibbles-5x4.bmp": bmp(5, 4, 4, rows(5, 4, 4, lambda x, y: (x * 16 + y) & 0xFF)),
    "bytes-3x3.bmp": bmp(3, 3, 8, rows(3, 3, 8, lambda x, y: x + 3 * y)),
    "rgb-3x2.bmp": bmp(3, 2, 24, rows(3, 2, 24, lambda x, y: (x * 40 + y * 7) & 0xFF)),
    # A run of 3, a literal run of 3 (padded to a word), end of line, a delta
    # of (1, 1), a run of 2, end of picture.
    "rle8-6x4.bmp": bmp(6, 4, 8, bytes([3, 1, 0, 3, 2, 3, 4, 0, 0, 0, 0, 2, 1, 1, 2, 5, 0, 1]),
                        compression=1),
    # Data beyond the size of the picture itself is not read: this one is
    # wide enough for its runs to take less room.
    "rle4-16x2.bmp": bmp(16, 2, 4, bytes([16, 0x12, 0, 0, 0, 4, 0x34, 0x56, 8, 0x77, 0, 1]),
                         compression=2),
}

folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "bmp-seeds")
os.makedirs(folder, exist_ok=True)
for name, data in SEEDS.items():
    with open(os.path.join(folder, name), "wb") as out:
        out.write(data)
