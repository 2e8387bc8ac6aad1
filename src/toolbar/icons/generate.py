#!/usr/bin/env python3
"""Draws the toolbar program's icons.

    generate.py OUTPUT_FOLDER

Writes "toolbar.ico" (16, 32 and 48 pixels: the program and its window) and
"small.ico" (16 and 32 pixels: title bars, the taskbar and the tray) into
OUTPUT_FOLDER. The mark is the product's badge of the factory skins: an open
ring with a wave running through its opening, light on a deep blue disc.
The same script always gives the same bytes.
"""

import math
import os
import sys

from PIL import Image, ImageDraw

# Shapes are drawn this many times larger and scaled down, for smooth edges.
SCALE = 8
EDGE = (16, 42, 92, 255)
FACE = (38, 104, 196, 255)
INK = (236, 244, 255, 255)


def mark(size):
    w = size * SCALE
    canvas = Image.new("RGBA", (w, w), (0, 0, 0, 0))
    draw = ImageDraw.Draw(canvas)
    draw.ellipse((0, 0, w - 1, w - 1), fill=EDGE)
    inset = max(SCALE, w // 16)
    draw.ellipse((inset, inset, w - 1 - inset, w - 1 - inset), fill=FACE)
    cx, cy, r = w / 2, w / 2, w * 0.3
    # Small icons get a bolder stroke, so that the mark survives at 16 pixels.
    stroke = round(w * (0.11 if size <= 16 else 0.085))
    draw.arc((cx - r, cy - r, cx + r, cy + r), 40, 320, fill=INK, width=stroke)
    points = []
    for i in range(41):
        t = i / 40
        x = cx - r * 0.55 + t * r * 1.55
        points.append((x, cy - math.sin(t * 2 * math.pi) * r * 0.32))
    draw.line(points, fill=INK, width=stroke, joint="curve")
    return canvas.resize((size, size), Image.LANCZOS)


def write_icon(path, sizes):
    largest = max(sizes)
    images = {size: mark(size) for size in sizes}
    # Each size is drawn on its own rather than scaled from the largest.
    images[largest].save(path, format="ICO", sizes=[(s, s) for s in sizes],
                         append_images=[images[s] for s in sizes if s != largest])


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write_icon(os.path.join(out, "toolbar.ico"), (16, 32, 48))
    write_icon(os.path.join(out, "small.ico"), (16, 32))


if __name__ == "__main__":
    main()
