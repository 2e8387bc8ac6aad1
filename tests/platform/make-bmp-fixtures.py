#!/usr/bin/env python3
"""Writes the BMP fixtures of the picture reader's tests into OUTPUT.

    make-bmp-fixtures.py OUTPUT

The pictures are made as skin authors make them: saved by Pillow, converted
by ImageMagick's `convert` (BMP2, BMP3 and its default, the fifth version),
and for the few kinds neither writes (header sizes 52, 56 and 108, top-down
rows, RLE4, a gap before the pixel data, masked 32 bits without alpha)
rewritten from one of those or written here. Beside each NAME.bmp goes NAME.txt, the
pixels as Pillow reads them: "WIDTH HEIGHT MODE" (RGB or RGBA), then one line
per row from the top, each pixel as hexadecimal RRGGBB or RRGGBBAA. A file
Pillow does not read (headers of 52 and 56 bytes) gets the pixels of the file
it was rewritten from. "fixtures.txt" lists the names.
"""

import os
import struct
import subprocess
import sys
import tempfile

from PIL import Image

WIDTH, HEIGHT = 7, 5  # an odd width, so that every depth pads its rows


def source_rgba():
    """Colours that differ in every channel, and a see-through diagonal."""
    image = Image.new("RGBA", (WIDTH, HEIGHT))
    for y in range(HEIGHT):
        for x in range(WIDTH):
            alpha = 0 if (x + y) % 4 == 0 else 255
            image.putpixel((x, y), (x * 37 % 256, y * 53 % 256, (x * y * 29 + 11) % 256, alpha))
    return image


def source_palette(colours):
    """A picture of at most `colours` colours, each pixel its own pattern."""
    image = Image.new("P", (WIDTH, HEIGHT))
    image.putpalette([c for i in range(colours) for c in (i * 40 % 256, (255 - i * 15) % 256, i * 90 % 256)])
    for y in range(HEIGHT):
        for x in range(WIDTH):
            image.putpixel((x, y), (x * 3 + y * 5) % colours)
    return image


def pillow_bytes(image):
    with tempfile.NamedTemporaryFile(suffix=".bmp") as out:
        image.save(out.name, "BMP")
        return open(out.name, "rb").read()


def convert_bytes(image, target, *options):
    """`convert` of `image` (saved as PNG) to `target`, e.g. "BMP3"."""
    with tempfile.TemporaryDirectory() as folder:
        source = os.path.join(folder, "in.png")
        result = os.path.join(folder, "out.bmp")
        image.save(source)
        subprocess.run(["convert", source, *options, f"{target}:{result}"], check=True)
        return open(result, "rb").read()


# --- Rewriting a file ---------------------------------------------------------

def fields(data):
    """The data offset, the header size, and the header's fields."""
    offset, = struct.unpack_from("<I", data, 10)
    size, = struct.unpack_from("<I", data, 14)
    return offset, size


def with_header_size(data, new_size):
    """The file with its information header cut to `new_size` bytes (a
    version-5 header holds the shorter ones at its start)."""
    offset, size = fields(data)
    assert size >= new_size
    header = bytearray(data[14:14 + new_size])
    struct.pack_into("<I", header, 0, new_size)
    rest = data[14 + size:]
    new_offset = offset - (size - new_size)
    return b"BM" + struct.pack("<IHHI", 14 + new_size + len(rest), 0, 0, new_offset) + bytes(
        header) + rest


def top_down(data):
    """The file with its rows stored top row first (a negative height)."""
    offset, size = fields(data)
    width, height = struct.unpack_from("<ii", data, 18)
    bits, = struct.unpack_from("<H", data, 28)
    scan = (width * bits + 31) // 32 * 4
    rows = [data[offset + i * scan:offset + (i + 1) * scan] for i in range(height)]
    out = bytearray(data[:offset]) + b"".join(reversed(rows)) + data[offset + height * scan:]
    struct.pack_into("<i", out, 22, -height)
    return bytes(out)


def with_gap(data, gap):
    """The file with `gap` unused bytes before its pixel data."""
    offset, _ = fields(data)
    out = bytearray(data[:offset]) + bytes(range(gap)) + data[offset:]
    struct.pack_into("<I", out, 2, len(out))
    struct.pack_into("<I", out, 10, offset + gap)
    return bytes(out)


def info_file(width, height, bits, compression, masks, table, pixels):
    """A file with a 40-byte header; `masks` (three) follow it when given."""
    extra = b"".join(struct.pack("<I", m) for m in masks)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, compression, len(pixels),
                       2835, 2835, len(table) // 4, 0)
    offset = 14 + 40 + len(extra) + len(table)
    return b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset) + info + extra + table + pixels


def pixel_rows(image, pack):
    """The picture's rows, bottom row first, each pixel packed by `pack` from
    its red, green and blue and each row padded to four bytes."""
    rows = []
    for y in reversed(range(HEIGHT)):
        row = b"".join(pack(*image.getpixel((x, y))[:3]) for x in range(WIDTH))
        rows.append(row.ljust((len(row) + 3) // 4 * 4, b"\0"))
    return b"".join(rows)


def pack_555(r, g, b):
    return struct.pack("<H", (r >> 3) << 10 | (g >> 3) << 5 | b >> 3)


def masked_555(image):
    """16 bits with the 5-5-5 masks after a 40-byte header. (ImageMagick
    says it writes masks there but leaves them out.)"""
    return info_file(WIDTH, HEIGHT, 16, 3, (0x7C00, 0x3E0, 0x1F), b"", pixel_rows(image, pack_555))


def plain_555(image):
    """16 bits with no masks: plain 16-bit pixels are 5-5-5."""
    return info_file(WIDTH, HEIGHT, 16, 0, (), b"", pixel_rows(image, pack_555))


def masked_32(image):
    """32 bits with masks for red, green and blue and an empty fourth byte."""
    pixels = pixel_rows(image, lambda r, g, b: bytes((b, g, r, 0)))
    return info_file(WIDTH, HEIGHT, 32, 3, (0xFF0000, 0xFF00, 0xFF), b"", pixels)


def rle4(image):
    """RLE4 data of a 16-colour picture: runs that start and end in the middle
    of bytes, literals of even length (Pillow mistakes odd ones) and no
    moves (nor does it take those)."""
    data = bytearray()
    for y in reversed(range(HEIGHT)):
        row = [image.getpixel((x, y)) for x in range(WIDTH)]
        data += bytes((3, (row[0] << 4) | row[1]))        # pixels 0 to 2: a, b, a
        data += bytes((0, 4, (row[3] << 4) | row[4], (row[5] << 4) | row[6]))
        data += bytes((0, 0))
        row[2] = row[0]
        for x, value in enumerate(row):
            image.putpixel((x, y), value)
    data += bytes((0, 1))
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in
                     zip(*[iter(image.getpalette()[:48])] * 3))
    return info_file(WIDTH, HEIGHT, 4, 2, (), table, bytes(data))


# --- The fixtures -------------------------------------------------------------

def fixtures():
    rgba = source_rgba()
    rgb = rgba.convert("RGB")
    few = source_palette(16)
    many = source_palette(200)
    default_rgb = convert_bytes(rgb, "BMP")
    default_rgba = convert_bytes(rgba, "BMP")
    rgb565 = convert_bytes(rgb, "BMP", "-define", "bmp:subtype=RGB565")
    pillow_rgb = pillow_bytes(rgb)
    pillow_p8 = pillow_bytes(many)
    rle4_picture = few.copy()
    rle4_file = rle4(rle4_picture)
    return [
        # name, file, and the file whose reading is expected (None: the file
        # itself) or the picture whose alpha is
        ("1bit-40-pillow", pillow_bytes(rgb.convert("1")), None),
        ("1bit-12-convert", convert_bytes(rgb, "BMP2", "-colors", "2", "-type", "palette"), None),
        ("4bit-40-convert", convert_bytes(few.convert("RGB"), "BMP3", "-type", "palette"), None),
        ("4bit-40-rle4", rle4_file, None),
        ("8bit-40-pillow", pillow_p8, None),
        ("8bit-124-convert", convert_bytes(many.convert("RGB"), "BMP", "-type", "palette",
                                           "-compress", "None"), None),
        ("8bit-124-rle8-convert", convert_bytes(many.convert("RGB"), "BMP", "-type", "palette"),
         None),
        ("8bit-40-rle8-convert", convert_bytes(many.convert("RGB"), "BMP3", "-type", "palette",
                                               "-compress", "RLE"), None),
        ("8bit-40-topdown", top_down(pillow_p8), None),
        ("16bit-40-plain555", plain_555(rgb), None),
        ("16bit-40-masks555", masked_555(rgb), None),
        ("16bit-124-565-convert", rgb565, None),
        ("16bit-52-565", with_header_size(rgb565, 52), rgb565),
        ("24bit-12-convert", convert_bytes(rgb, "BMP2"), None),
        ("24bit-40-pillow", pillow_rgb, None),
        ("24bit-40-gap", with_gap(pillow_rgb, 10), None),
        ("24bit-40-topdown", top_down(pillow_rgb), None),
        ("24bit-108", with_header_size(default_rgb, 108), None),
        ("24bit-124-convert", default_rgb, None),
        # Pillow writes the alpha it is given in the fourth byte of plain
        # 32-bit pixels but reads that byte back as padding: the alpha
        # expected is the one it was given.
        ("32bit-40-pillow", pillow_bytes(rgba), rgba),
        ("32bit-40-masks-noalpha", masked_32(rgb), None),
        ("32bit-56-alpha", with_header_size(default_rgba, 56), default_rgba),
        ("32bit-108-alpha", with_header_size(default_rgba, 108), None),
        ("32bit-124-alpha-convert", default_rgba, None),
    ]


def expected_text(data, alpha_from=None):
    with tempfile.NamedTemporaryFile(suffix=".bmp") as out:
        out.write(data)
        out.flush()
        image = Image.open(out.name)
        image.load()
    mode = "RGBA" if image.mode == "RGBA" or alpha_from is not None else "RGB"
    image = image.convert(mode)
    if alpha_from is not None:
        image.putalpha(alpha_from.getchannel("A"))
    lines = [f"{image.width} {image.height} {mode}"]
    for y in range(image.height):
        lines.append(" ".join("".join(f"{c:02X}" for c in image.getpixel((x, y)))
                              for x in range(image.width)))
    return "\n".join(lines) + "\n"


def main():
    if len(sys.argv) != 2:
        raise SystemExit(__doc__)
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    names = []
    for name, data, read_from in fixtures():
        with open(os.path.join(folder, name + ".bmp"), "wb") as out:
            out.write(data)
        with open(os.path.join(folder, name + ".txt"), "w") as out:
            if isinstance(read_from, Image.Image):
                out.write(expected_text(data, read_from))
            else:
                out.write(expected_text(read_from if read_from is not None else data))
        names.append(name)
    with open(os.path.join(folder, "fixtures.txt"), "w") as out:
        out.write("\n".join(names) + "\n")


main()
