#!/usr/bin/env python3
"""Writes the seed inputs of net_zcslot_fuzz into zcslot-seeds/ beside this script.

An input is a run of scans: one flags byte (bits 0-5: the published slots,
bit 6: a forced scan), then 524 bytes per published slot, laid out as a
ZCService: address type (4 bytes) and 256 bytes of address, port (4 bytes),
name (256 bytes), stamp (4 bytes), little-endian.
"""
import os
import struct

LOCALHOST, IP4, HOSTNAME = 0x31313131, 0x32323232, 0x34343434


def slot(name, seed, port=6050, addr_type=LOCALHOST, addr=b""):
    return (struct.pack("<I", addr_type) + addr.ljust(256, b"\0")[:256] + struct.pack("<I", port) +
            name.ljust(256, b"\0")[:256] + struct.pack("<i", seed))


def scan(slots, forced=False):
    flags = 0x40 if forced else 0
    body = b""
    for index, record in sorted(slots.items()):
        flags |= 1 << index
        body += record
    return bytes([flags]) + body


SEEDS = {
    "first-scan": scan({0: slot(b"Engine One", 1)}, forced=True),
    "come-and-go": scan({0: slot(b"Engine One", 1), 2: slot(b"Studio", 7, addr_type=IP4,
                                                              addr=bytes([127, 0, 0, 1]))},
                        forced=True) +
                   scan({2: slot(b"Studio B", 8, addr_type=IP4, addr=bytes([127, 0, 0, 1]))}) +
                   scan({2: slot(b"STUDIO b", 8)}),
    "unterminated": scan({5: slot(b"N" * 256, -1, port=0xFFFFFFFF, addr_type=HOSTNAME,
                                  addr=b"h" * 256)}),
}

folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "zcslot-seeds")
os.makedirs(folder, exist_ok=True)
for name, data in SEEDS.items():
    with open(os.path.join(folder, name), "wb") as out:
        out.write(data)
