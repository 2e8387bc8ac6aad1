#!/usr/bin/env python3
"""Writes the seed inputs of net_ksmp_fuzz into ksmp-seeds/ beside this script.

An input is one byte (the size of the pieces the stream arrives in, minus 1)
and then packets as a peer sends them: the 64-byte message header, the data
size and the two halves of the time stamp (big-endian), then the data.
"""
import os
import struct


def header(kind, ticket=0, reply_wanted=False, flags=0, cookie=b""):
    out = bytearray(64)
    out[0] = 2
    out[1] = kind
    out[2] = flags
    out[4:8] = struct.pack("<I", ticket)
    out[8] = 1 if reply_wanted else 0
    out[16:48] = cookie.ljust(32, b"\0")[:32]
    return bytes(out)


def packet(head, data, days=45000, secs=3600):
    return head + struct.pack(">Iii", len(data), days, secs) + data


def system_msg(msg_id, desc, data):
    return (struct.pack(">IIII", msg_id, len(desc), len(data), 0) + desc + b"\0" + data + b"\0" +
            b"\0" * 8)


SEEDS = {
    "request": bytes([255]) + packet(header(1, 7, True, 3, b"toolbar"), b"GetTrackInfo();"),
    "reply-in-pieces": bytes([5]) + packet(header(3, 7, False, 3, b"toolbar"), b"Song\0"),
    "system-messages": bytes([63]) +
                       packet(header(2), system_msg(0x54726B49, b"Track", b"Artist - Song")) +
                       packet(header(2), system_msg(1, b"", b"")),
}

folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "ksmp-seeds")
os.makedirs(folder, exist_ok=True)
for name, data in SEEDS.items():
    with open(os.path.join(folder, name), "wb") as out:
        out.write(data)
