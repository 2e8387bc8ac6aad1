#!/usr/bin/env python3
"""Writes the seed inputs of foundation_unicode_fuzz into unicode-seeds/ beside this script.

The target reads its input both as UTF-8 and as UTF-16 units, so the seeds are
text in both forms, and UTF-8 that is not well formed.
"""
import os

TEXT = "Corvexa Toolbar – Überblick, ǅ, façade (e\u0301), Ωμέγα, 音楽, \U0001F3B5 \ufeff"

SEEDS = {
    "utf8.txt": TEXT.encode("utf-8"),
    "utf16.txt": TEXT.encode("utf-16-le"),
    # Overlong '/', a lone continuation byte, a cut sequence, an encoded
    # surrogate, a code point past U+10FFFF and an overlong NUL.
    "malformed.txt": b"a\xc0\xafb\x80c\xe2\x82d\xed\xa0\x80e\xf4\x90\x80\x80f\xc0\x80",
    "lone-surrogates.txt": "x".encode("utf-16-le") + b"\x00\xd8" + "y".encode("utf-16-le") +
                           b"\x00\xdc\x3d\xd8\xb5\xdf",
}

folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "unicode-seeds")
os.makedirs(folder, exist_ok=True)
for name, data in SEEDS.items():
    with open(os.path.join(folder, name), "wb") as out:
        out.write(data)
