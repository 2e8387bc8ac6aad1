#!/usr/bin/env python3
"""Writes the seed pictures of platform_bmp_fuzz into bmp-seeds/ beside this script.

Small pictures of every kind the reader takes: 1, 4, 8 and 24 bits per pixel
uncompressed, and RLE8 and RLE4 with runs, literal runs, a delta and the end
codes; 16 and 32 bits with and without masks; and every information header
size (12, 40, 52, 56, 108 and 124 bytes), top-down rows and a gap before the
pixel data.
"""
import os
import struct


def bmp(width, height, bits, pixels, compression=0, colors=None):
    if colors is None:
        colors = [] if bits >= 16 else [(i * 37 % 256, i * 91 % 256, i * 13 % 256)
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


def core(width, height, bits, pixels, colors):
    """A 12-byte header and three-byte colour entries."""
    table = b"".join(bytes([b, g, r]) for (r, g, b) in colors)
    info = struct.pack("<IHHHH", 12, width, height, 1, bits)
    offset = 14 + len(info) + len(table)
    return b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset) + info + table + pixels


def longer(data, size, masks=(0, 0, 0, 0)):
    """A 40-byte-header file with its header grown to `size` bytes, the masks
    (red, green, blue, alpha) in it."""
    offset, = struct.unpack_from("<I", data, 10)
    extra = struct.pack("<IIII", *masks)[:size - 40].ljust(size - 40, b"\0")
    head = bytearray(data[14:54])
    struct.pack_into("<I", head, 0, size)
    rest = data[54:]
    new_offset = offset + size - 40
    return b"BM" + struct.pack("<IHHI", len(rest) + 14 + size, 0, 0, new_offset) + bytes(head) + extra + rest


def flipped(data):
    out = bytearray(data)
    height, = struct.unpack_from("<i", out, 22)
    struct.pack_into("<i", out, 22, -height)
    return bytes(out)


def gap(data, count):
    offset, = struct.unpack_from("<I", data, 10)
    out = bytearray(data[:offset]) + bytes(count) + data[offset:]
    struct.pack_into("<I", out, 10, offset + count)
    return bytes(out)


RGB16 = rows(3, 2, 16, lambda x, y: (x * 77 + y * 13) & 0xFF)
RGB32 = rows(3, 2, 32, lambda x, y: (x * 41 + y * 5) & 0xFF)

SEEDS = {
    "core-1bit-9x3.bmp": core(9, 3, 1, rows(9, 3, 1, lambda x, y: 0x5A ^ y), [(0, 0, 0), (255, 0, 255)]),
    "core-24bit-3x2.bmp": core(3, 2, 24, rows(3, 2, 24, lambda x, y: x * 9 + y), []),
    "plain16-3x2.bmp": bmp(3, 2, 16, RGB16),
    "masks565-52-3x2.bmp": longer(bmp(3, 2, 16, RGB16, compression=3), 52, (0xF800, 0x7E0, 0x1F, 0)),
    "alpha32-56-3x2.bmp": longer(bmp(3, 2, 32, RGB32, compression=3), 56,
                                 (0xFF0000, 0xFF00, 0xFF, 0xFF000000)),
    "rgb24-108-3x2.bmp": longer(bmp(3, 2, 24, rows(3, 2, 24, lambda x, y: x + y)), 108),
    "alpha32-124-3x2.bmp": longer(bmp(3, 2, 32, RGB32, compression=3), 124,
                                  (0xFF0000, 0xFF00, 0xFF, 0xFF000000)),
    "plain32-topdown-3x2.bmp": flipped(bmp(3, 2, 32, RGB32)),
    "bytes-gap-3x3.bmp": gap(bmp(3, 3, 8, rows(3, 3, 8, lambda x, y: x + 3 * y)), 6),
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
