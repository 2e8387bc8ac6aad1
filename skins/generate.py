#!/usr/bin/env python3
"""Draws the pictures of a factory skin.

    generate.py SKIN_SOURCE OUTPUT

SKIN_SOURCE is a skin's source folder: its "skin.txt" and "look.json", the
description of its pictures (palette, fonts, corner radii and the list of
pictures). OUTPUT becomes the finished skin folder: a copy of "skin.txt" and
every BMP of the description; BMPs left there by an earlier run are removed.

The same description always gives the same bytes. Pictures are written as
uncompressed, bottom-up BMPs: 8-bit when the picture has at most 256 colours
and that file is smaller, 24-bit otherwise.

A picture name with a run of '?' is a numbered set of frames ("Prev??.bmp"
gives Prev01.bmp, Prev02.bmp, ...); frame 1 is the first state listed below.

Kinds of picture:
  button  4 frames: normal, pressed, pointer over it, disabled. A "glyph", a
          "text", or both (glyph first).
  check   2 frames: unchecked, checked. "style": "box" (a tick box),
          "toggle" (a glyph that lights up), "arrow" (points right, then down)
          or "text" (two "texts", one per frame, on a button face).
  badge   4 frames of the round product mark, in the button states.
  thumb   1 frame: a slider thumb or a scroll-bar thumb ("vertical": true).
  panel   a background: a fill colour, an outline, optional header band,
          separator lines and slider grooves, one frame per "frames" entry.

Slider grooves are drawn under the sliders of "skin.txt" whose function the
panel names; their place comes from the slider's x, y and Width there and the
size of its thumb picture, so the text and the pictures cannot drift apart.
"""

import io
import json
import math
import os
import re
import shutil
import struct
import sys

from PIL import Image, ImageDraw, ImageFilter, ImageFont

# Shapes are drawn this many times larger and scaled down, for smooth edges.
SCALE = 4
BUTTON_STATES = ("normal", "pressed", "hover", "disabled")
# The least room between a caption and either side of its button, in pixels.
CAPTION_MARGIN = 4
FONT_DIRS = ("/usr/share/wine/fonts", "/usr/share/fonts/truetype/dejavu")


class Look:
    """The parsed description: colours by name, fonts, the skin's sliders."""

    def __init__(self, description, sliders):
        self.colors = {name: tuple(rgb) for name, rgb in description["colors"].items()}
        self.key = tuple(description["key"])
        self.description = description
        self.sliders = sliders
        self.fonts = {}
        self.sizes = {p["name"]: tuple(p["size"]) for p in description["pictures"] if "size" in p}

    def color(self, name):
        if name not in self.colors:
            raise SystemExit(f"look.json: no colour named {name!r}")
        return self.colors[name]

    def font(self, role):
        wanted = self.description["fonts"][role]
        cache_key = (wanted["file"], wanted["size"])
        if cache_key not in self.fonts:
            for folder in FONT_DIRS:
                path = os.path.join(folder, wanted["file"])
                if os.path.isfile(path):
                    self.fonts[cache_key] = ImageFont.truetype(path, wanted["size"])
                    break
            else:
                raise SystemExit(f"font {wanted['file']} not found in {', '.join(FONT_DIRS)} "
                                 "(scripts/install-deps.sh installs it)")
        return self.fonts[cache_key]


# --- Reading skin.txt -------------------------------------------------------------------------

def without_quoted_texts(skin_text):
    """The skin text with its quoted texts emptied: tips and captions may hold anything."""
    return re.sub(r'"(?:[^"\\]|\\.)*"', '""', skin_text)


def pictures_named(skin_text):
    """Every picture name that the skin text gives to "Image" and the scroll keywords."""
    found = re.findall(r"\b(?:image|scrollup|scrolldown|scrollthumb)\s*=\s*([^,)\t\r\n]*)",
                       without_quoted_texts(skin_text), re.IGNORECASE)
    return {name.strip() for name in found}


def check_names(skin_text, description):
    """The skin text and the description must name the same pictures."""
    made = {p["name"] for p in description["pictures"]}
    named = pictures_named(skin_text)
    if named - made:
        raise SystemExit("skin.txt names pictures that look.json does not describe: " +
                         ", ".join(sorted(named - made)))
    if made - named:
        raise SystemExit("look.json describes pictures that skin.txt never uses: " +
                         ", ".join(sorted(made - named)))


def read_sliders(skin_text):
    """Function name (lower case) -> dict(x, y, width, image) of every slider."""
    text = without_quoted_texts(skin_text)
    sliders = {}
    for block in re.finditer(r"\bslider\s+\(([^)]*)\)", text, re.IGNORECASE):
        body = block.group(1)

        def number(key):
            found = re.search(rf"\b{key}\s*=\s*(-?\d+)", body, re.IGNORECASE)
            return int(found.group(1)) if found else None

        function = re.search(r"\bfunction\s*=\s*(\w+)", body, re.IGNORECASE)
        image = re.search(r"\bimage\s*=\s*([^,)\t\r\n]*)", body, re.IGNORECASE)
        if function and image:
            sliders[function.group(1).lower()] = {
                "x": number("x"), "y": number("y"), "width": number("width"),
                "image": image.group(1).strip()}
    return sliders


# --- Drawing helpers -------------------------------------------------------------------------

def mix(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


def big_canvas(size, background):
    return Image.new("RGB", (size[0] * SCALE, size[1] * SCALE), background)


def shrink(image):
    return image.resize((image.width // SCALE, image.height // SCALE), Image.BOX)


def face(canvas, size, radius, fill, edge, bottom=None, inset=0):
    """A rounded face on a big canvas, optionally shaded towards `bottom`."""
    draw = ImageDraw.Draw(canvas)
    w, h = size[0] * SCALE, size[1] * SCALE
    i = inset * SCALE
    box = (i, i, w - 1 - i, h - 1 - i)
    draw.rounded_rectangle(box, radius * SCALE, fill=edge)
    inner = (box[0] + SCALE, box[1] + SCALE, box[2] - SCALE, box[3] - SCALE)
    if bottom is None:
        draw.rounded_rectangle(inner, max(0, radius - 1) * SCALE, fill=fill)
        return
    # A vertical shade: rows of the face colour blended towards `bottom`.
    mask = Image.new("L", (w, h), 0)
    ImageDraw.Draw(mask).rounded_rectangle(inner, max(0, radius - 1) * SCALE, fill=255)
    shade = Image.new("RGB", (w, h))
    shade_draw = ImageDraw.Draw(shade)
    for y in range(h):
        shade_draw.line([(0, y), (w, y)], fill=mix(fill, bottom, y / max(1, h - 1)))
    canvas.paste(shade, (0, 0), mask)


def glyph(draw, name, box, ink):
    """Draws a named symbol inside box (big-canvas coordinates)."""
    x0, y0, x1, y1 = box
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    s = min(x1 - x0, y1 - y0)
    stroke = max(SCALE, round(s * 0.14))
    if name in ("left", "right", "up", "down"):
        d = s * 0.26
        points = {
            "left": [(cx + d * 0.7, cy - d), (cx + d * 0.7, cy + d), (cx - d * 0.8, cy)],
            "right": [(cx - d * 0.7, cy - d), (cx - d * 0.7, cy + d), (cx + d * 0.8, cy)],
            "up": [(cx - d, cy + d * 0.6), (cx + d, cy + d * 0.6), (cx, cy - d * 0.7)],
            "down": [(cx - d, cy - d * 0.6), (cx + d, cy - d * 0.6), (cx, cy + d * 0.7)],
        }[name]
        draw.polygon(points, fill=ink)
    elif name == "minimize":
        d = s * 0.24
        draw.rectangle((cx - d, cy + d * 0.5, cx + d, cy + d * 0.5 + stroke), fill=ink)
    elif name == "close":
        d = s * 0.2
        draw.line([(cx - d, cy - d), (cx + d, cy + d)], fill=ink, width=stroke)
        draw.line([(cx - d, cy + d), (cx + d, cy - d)], fill=ink, width=stroke)
    elif name == "check":
        d = s * 0.26
        draw.line([(cx - d, cy), (cx - d * 0.25, cy + d * 0.75), (cx + d, cy - d * 0.7)],
                  fill=ink, width=stroke, joint="curve")
    elif name in ("cycle", "refresh"):
        r = s * 0.25
        arcs = [(200, 340), (20, 160)] if name == "cycle" else [(300, 230 + 360)]
        for start, end in arcs:
            draw.arc((cx - r, cy - r, cx + r, cy + r), start, end, fill=ink, width=stroke)
            # An arrowhead at the end of each arc, pointing along it.
            a = math.radians(end)
            tip = (cx + r * math.cos(a), cy + r * math.sin(a))
            along = (-math.sin(a), math.cos(a))
            out = (math.cos(a), math.sin(a))
            head = s * 0.13
            draw.polygon([
                (tip[0] + along[0] * head, tip[1] + along[1] * head),
                (tip[0] - out[0] * head, tip[1] - out[1] * head),
                (tip[0] + out[0] * head, tip[1] + out[1] * head)], fill=ink)
    elif name == "fullscreen":
        d, k = s * 0.3, s * 0.2
        for sx in (-1, 1):
            for sy in (-1, 1):
                corner = (cx + sx * d, cy + sy * d)
                draw.line([(corner[0], corner[1] - sy * k), corner, (corner[0] - sx * k, corner[1])],
                          fill=ink, width=stroke)
    else:
        raise SystemExit(f"look.json: unknown glyph {name!r}")


def text_width(font, text):
    left, _, right, _ = font.getbbox(text)
    return right - left


def draw_text(image, font, text, ink, center_x, center_y):
    """Text centred on a point, at the picture's own scale (crisp small type)."""
    left, _, right, _ = font.getbbox(text)
    _, cap_top, _, cap_bottom = font.getbbox("X")  # every caption sits on one baseline
    x = round(center_x - (right - left) / 2 - left)
    y = round(center_y - (cap_top + cap_bottom) / 2)
    ImageDraw.Draw(image).text((x, y), text, font=font, fill=ink)


def glyph_and_text(image, look, picture, ink, offset):
    """The glyph and/or caption of a button or toggle, centred as one group."""
    w, h = image.size
    font = look.font("caption")
    text = picture.get("text")
    icon = picture.get("glyph")
    icon_size = h - 8 if icon and text else min(w, h)
    gap = 4 if icon and text else 0
    total = (icon_size if icon else 0) + gap + (text_width(font, text) if text else 0)
    if text and total > w - 2 * CAPTION_MARGIN:
        raise SystemExit(f"look.json: the caption {text!r} needs {total} pixels and "
                         f"{2 * CAPTION_MARGIN} of margin, more than the {w} of its picture")
    left = (w - total) / 2 + offset
    cy = h / 2 + offset
    if icon:
        # Drawn large as a coverage mask, then shrunk: smooth edges over any face.
        mask = Image.new("L", (w * SCALE, h * SCALE), 0)
        top = (h - icon_size) / 2 + offset
        glyph(ImageDraw.Draw(mask), icon,
              (left * SCALE, top * SCALE, (left + icon_size) * SCALE, (top + icon_size) * SCALE),
              255)
        image.paste(Image.new("RGB", image.size, ink), (0, 0), shrink(mask))
    if text:
        draw_text(image, font, text, ink, left + total - text_width(font, text) / 2, cy)


# --- Kinds of picture ----------------------------------------------------------------------

def state_colors(look, picture, state):
    """A button's colours in one state: its own "states", or the skin's button states."""
    names = picture.get("states", look.description["button"])[state]
    return {role: look.color(name) for role, name in names.items()}


def button_frame(look, picture, state):
    size = tuple(picture["size"])
    colors = state_colors(look, picture, state)
    canvas = big_canvas(size, look.color(picture["on"]))
    face(canvas, size, picture.get("radius", look.description["button"]["radius"]), colors["face"],
         colors["edge"], colors.get("shade"))
    image = shrink(canvas)
    # A pressed face shows its caption one pixel lower, as if pushed in.
    glyph_and_text(image, look, picture, colors["ink"], 1 if state == "pressed" else 0)
    return image


def badge_frame(look, picture, state):
    size = tuple(picture["size"])
    colors = {role: look.color(name) for role, name in picture["states"][state].items()}
    canvas = big_canvas(size, look.color(picture["on"]))
    draw = ImageDraw.Draw(canvas)
    w, h = canvas.size
    draw.ellipse((0, 0, w - 1, h - 1), fill=colors["edge"])
    draw.ellipse((SCALE, SCALE, w - 1 - SCALE, h - 1 - SCALE), fill=colors["face"])
    # The mark: an open ring with a wave running through its opening.
    cx, cy, r = w / 2, h / 2, w * 0.3
    stroke = round(w * 0.075)
    draw.arc((cx - r, cy - r, cx + r, cy + r), 40, 320, fill=colors["ink"], width=stroke)
    points = []
    for i in range(41):
        t = i / 40
        x = cx - r * 0.55 + t * r * 1.55
        points.append((x, cy - math.sin(t * 2 * math.pi) * r * 0.32))
    draw.line(points, fill=colors["ink"], width=stroke, joint="curve")
    return shrink(canvas)


def check_frame(look, picture, checked):
    size = tuple(picture["size"])
    style = picture["style"]
    colors = {role: look.color(name)
              for role, name in picture["checked" if checked else "unchecked"].items()}
    on = look.color(picture["on"])
    canvas = big_canvas(size, on)
    draw = ImageDraw.Draw(canvas)
    if style == "box":
        face(canvas, size, picture.get("radius", 3), colors["face"], colors["edge"],
             inset=picture.get("inset", 1))
        if checked:
            glyph(draw, "check", (0, 0, canvas.width, canvas.height), colors["ink"])
        return shrink(canvas)
    if style == "arrow":
        glyph(draw, "down" if checked else "right", (0, 0, canvas.width, canvas.height),
              colors["ink"])
        return shrink(canvas)
    face(canvas, size, picture.get("radius", look.description["button"]["radius"]), colors["face"],
         colors["edge"], colors.get("shade"))
    image = shrink(canvas)
    if style == "toggle":
        glyph_and_text(image, look, {"glyph": picture["glyph"]}, colors["ink"], 0)
    elif style == "text":
        caption = picture["texts"][1 if checked else 0]
        glyph_and_text(image, look, caption, colors["ink"], 0)
    else:
        raise SystemExit(f"look.json: unknown check style {style!r}")
    return image


def thumb_frame(look, picture):
    size = tuple(picture["size"])
    canvas = big_canvas(size, look.color(picture["on"]))
    draw = ImageDraw.Draw(canvas)
    radius = min(size) // 2
    face(canvas, size, radius, look.color(picture["face"]), look.color(picture["edge"]),
         look.color(picture["shade"]) if "shade" in picture else None)
    # Grip lines across the thumb.
    w, h = canvas.size
    grip = look.color(picture["grip"])
    for k in (-1, 0, 1):
        if picture.get("vertical"):
            y = h / 2 + k * 2.5 * SCALE
            draw.line([(w * 0.3, y), (w * 0.7, y)], fill=grip, width=SCALE)
        else:
            x = w / 2 + k * 2.5 * SCALE
            draw.line([(x, h * 0.3), (x, h * 0.7)], fill=grip, width=SCALE)
    return shrink(canvas)


def panel_frame(look, picture, frame):
    """A background picture. The outline is hard-edged: pixels outside it are the
    keyed colour, and a keyed window shape has no room for blended edges."""
    if isinstance(frame, str):
        frame = {"outline": frame}
    w = picture["size"][0]
    h = frame.get("height", picture["size"][1])
    edges = frame["outline"]
    radius = picture.get("radius", look.description["radius"])
    image = Image.new("RGB", (w, h), look.color(picture["fill"]))
    draw = ImageDraw.Draw(image)

    header = picture.get("header")
    if header:
        draw.rectangle((0, 0, w - 1, min(h, header) - 1), fill=look.color("header"))
        draw.line([(0, 0), (w - 1, 0)], fill=look.color("headerLight"))
        draw.line([(0, header - 1), (w - 1, header - 1)], fill=look.color("headerDark"))
    for line in picture.get("lines", []):
        if line["to"][1] < h:
            draw.line([tuple(line["from"]), tuple(line["to"])], fill=look.color(line["color"]))
    for function in picture.get("grooves", []):
        groove(look, draw, function, h)

    # The outline: rounded where two outer edges meet, a rim along every outer edge.
    # Open edges push the rounded box past the picture, so only outer corners round.
    mask = Image.new("L", (w, h), 0)
    mask_draw = ImageDraw.Draw(mask)
    grow = radius + 1
    box = (0 if "l" in edges else -grow, 0 if "t" in edges else -grow,
           w - 1 if "r" in edges else w - 1 + grow, h - 1 if "b" in edges else h - 1 + grow)
    mask_draw.rounded_rectangle(box, radius, fill=255)
    inner = mask.filter(ImageFilter.MinFilter(3))
    # The erosion also eats the picture's open edges, which are no outline.
    open_edges = ImageDraw.Draw(inner)
    if "l" not in edges:
        open_edges.line([(0, 0), (0, h - 1)], fill=255)
    if "t" not in edges:
        open_edges.line([(0, 0), (w - 1, 0)], fill=255)
    if "r" not in edges:
        open_edges.line([(w - 1, 0), (w - 1, h - 1)], fill=255)
    if "b" not in edges:
        open_edges.line([(0, h - 1), (w - 1, h - 1)], fill=255)
    inner = Image.composite(inner, Image.new("L", (w, h), 0), mask)
    rim = Image.new("RGB", (w, h), look.color(picture.get("rim", "rim")))
    image = Image.composite(image, rim, inner)
    return Image.composite(image, Image.new("RGB", (w, h), look.key), mask)


def groove(look, draw, function, height):
    slider = look.sliders.get(function.lower())
    if slider is None or None in (slider["x"], slider["y"], slider["width"]):
        raise SystemExit(f"skin.txt: no slider with function {function} and x, y, Width, Image")
    thumb = look.sizes.get(slider["image"])
    if thumb is None:
        raise SystemExit(f"look.json: no picture {slider['image']!r} for the {function} thumb")
    y = slider["y"] + thumb[1] // 2
    if y + 2 >= height:
        return
    x0 = slider["x"] + thumb[0] // 2 - 1
    x1 = slider["x"] + slider["width"] - thumb[0] // 2
    draw.rounded_rectangle((x0, y - 2, x1, y + 1), 2, fill=look.color("groove"))
    draw.line([(x0 + 2, y + 2), (x1 - 2, y + 2)], fill=look.color("grooveLight"))


def frames_of(look, picture):
    kind = picture["kind"]
    if kind == "button":
        return [button_frame(look, picture, state) for state in BUTTON_STATES]
    if kind == "badge":
        return [badge_frame(look, picture, state) for state in BUTTON_STATES]
    if kind == "check":
        return [check_frame(look, picture, False), check_frame(look, picture, True)]
    if kind == "thumb":
        return [thumb_frame(look, picture)]
    if kind == "panel":
        return [panel_frame(look, picture, frame) for frame in picture["frames"]]
    raise SystemExit(f"look.json: unknown kind {kind!r} of {picture['name']}")


# --- Writing ---------------------------------------------------------------------------------

def frame_names(pattern, count):
    run = re.search(r"\?+", pattern)
    if run is None:
        if count != 1:
            raise SystemExit(f"look.json: {pattern} has {count} frames but no '?' in its name")
        return [pattern]
    digits = min(len(run.group(0)), 4)
    return [pattern[:run.start()] + f"{n:0{digits}d}" + pattern[run.end():]
            for n in range(1, count + 1)]


def encode_bmp(image):
    """The smaller exact encoding: 8-bit with a palette of the picture's own colours,
    or 24-bit."""
    rgb = io.BytesIO()
    image.save(rgb, "BMP")
    colors = image.getcolors(256)
    if colors is None:
        return rgb.getvalue()
    palette = sorted(rgb_value for _, rgb_value in colors)
    index = {rgb_value: i for i, rgb_value in enumerate(palette)}
    indexed = Image.new("P", image.size)
    indexed.putpalette([channel for rgb_value in palette for channel in rgb_value])
    indexed.putdata([index[pixel] for pixel in image.getdata()])
    small = io.BytesIO()
    indexed.save(small, "BMP")
    if indexed.convert("RGB").tobytes() != image.tobytes():
        raise SystemExit("internal error: the 8-bit picture differs from the drawn one")
    return min(rgb.getvalue(), small.getvalue(), key=len)


def check_bmp(name, data):
    """What every reader of the skin's pictures relies on."""
    magic, _, _, _ = struct.unpack_from("<2sIII", data, 0)
    header, w, h, planes, bits, compression, _, _, _, used, _ = struct.unpack_from(
        "<IiiHHIIiiII", data, 14)
    if (magic != b"BM" or header != 40 or w <= 0 or h <= 0 or planes != 1 or
            bits not in (8, 24) or compression != 0 or used > 256):
        raise SystemExit(f"internal error: {name} is not a plain BMP")


def generate(source, output):
    with open(os.path.join(source, "look.json"), encoding="utf-8") as f:
        description = json.load(f)
    with open(os.path.join(source, "skin.txt"), encoding="latin-1") as f:
        skin_text = f.read()
    check_names(skin_text, description)
    look = Look(description, read_sliders(skin_text))

    os.makedirs(output, exist_ok=True)
    for old in sorted(os.listdir(output)):
        if old.lower().endswith(".bmp"):
            os.remove(os.path.join(output, old))
    shutil.copyfile(os.path.join(source, "skin.txt"), os.path.join(output, "skin.txt"))
    for picture in description["pictures"]:
        frames = frames_of(look, picture)
        for name, image in zip(frame_names(picture["name"], len(frames)), frames):
            if "size" in picture and picture["kind"] != "panel" and image.size != tuple(picture["size"]):
                raise SystemExit(f"internal error: {name} came out {image.size}")
            data = encode_bmp(image)
            check_bmp(name, data)
            with open(os.path.join(output, name), "wb") as f:
                f.write(data)


def main(argv):
    if len(argv) != 3:
        print("usage: generate.py SKIN_SOURCE OUTPUT", file=sys.stderr)
        return 2
    generate(argv[1], argv[2])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
