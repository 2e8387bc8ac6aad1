#!/usr/bin/env python3
"""Writes the seed inputs of files_tar_fuzz into tar-seeds/ beside this script.

An input is one byte (the file system's flags; bit 2 reseals every block's
checksum) and then a tar archive: a skin's folder with files, an empty file,
a long name and a link the reader has to skip.
"""
import io
import os
import tarfile


def archive(members, fmt=tarfile.USTAR_FORMAT):
    out = io.BytesIO()
    with tarfile.open(fileobj=out, mode="w", format=fmt) as tar:
        for name, data in members:
            info = tarfile.TarInfo(name)
            info.mtime = 1700000000
            if data is None:
                info.type = tarfile.DIRTYPE
                tar.addfile(info)
            elif isinstance(data, str):
                info.type = tarfile.SYMTYPE
                info.linkname = data
                tar.addfile(info)
            else:
                info.size = len(data)
                tar.addfile(info, io.BytesIO(data))
    # The end-of-archive blocks are kept; the rest of the record's zeros are not.
    data = out.getvalue().rstrip(b"\0")
    return data.ljust((len(data) + 511) // 512 * 512 + 1024, b"\0")


SKIN = [("Compact", None), ("Compact/skin.txt", b"ToolPage { Name = Main }\r\n"),
        ("Compact/pictures", None), ("Compact/pictures/back.bmp", b"BM" + b"\0" * 60),
        ("Compact/empty.txt", b"")]
ODD = [("a/" + "n" * 90 + "/file.txt", b"long path\n"), ("a/link", "file.txt"),
       ("A/Case.txt", b"upper"), ("a/case.txt", b"lower")]

SEEDS = {
    "skin": bytes([0]) + archive(SKIN),
    "skin-shared-names": bytes([1 | 4]) + archive(SKIN),
    "odd-members": bytes([2]) + archive(ODD, tarfile.GNU_FORMAT),
}

folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "tar-seeds")
os.makedirs(folder, exist_ok=True)
for name, data in SEEDS.items():
    with open(os.path.join(folder, name), "wb") as out:
        out.write(data)
