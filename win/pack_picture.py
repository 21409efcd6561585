#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Packs a picture for the program's resources, as picture_rows.h reads it.

Usage: pack_picture.py CONVERT IN OUT

The picture is mostly one flat colour: each row as runs of one colour, runs
the same as the row above, and literal pixels, a header byte each (the kind in
the top two bits, the count less one in the low six). Decoding that takes a
few lines and none of the system's image libraries, which cost the start-up
more than the picture itself.
"""

import subprocess
import sys

LITERAL, RUN, ABOVE = 0x00, 0x40, 0x80
MOST = 64


def pixels(convert, path):
    ppm = subprocess.run([convert, path, "ppm:-"], check=True, capture_output=True).stdout
    fields = ppm.split(maxsplit=4)
    assert fields[0] == b"P6" and fields[3] == b"255", path
    width, height, data = int(fields[1]), int(fields[2]), fields[4]
    assert len(data) == width * height * 3, path
    # Blue, green, red: the order of a 32-bit bitmap's bytes.
    bgr = [bytes((data[i + 2], data[i + 1], data[i])) for i in range(0, len(data), 3)]
    return width, height, bgr


def pack(width, height, bgr):
    out = bytearray(width.to_bytes(2, "little") + height.to_bytes(2, "little"))

    def counted(kind, count, payload=b""):
        while count:
            n = min(MOST, count)
            out.append(kind | (n - 1))
            out.extend(payload)
            count -= n

    for y in range(height):
        row = bgr[y * width : (y + 1) * width]
        above = bgr[(y - 1) * width : y * width] if y else None
        literal = []

        def flush():
            for i in range(0, len(literal), MOST):
                chunk = literal[i : i + MOST]
                out.append(LITERAL | (len(chunk) - 1))
                out.extend(b"".join(chunk))
            literal.clear()

        x = 0
        while x < width:
            same = 0
            if above:
                while x + same < width and row[x + same] == above[x + same]:
                    same += 1
            run = 1
            while x + run < width and row[x + run] == row[x]:
                run += 1
            if same >= 2 and same >= run:
                flush()
                counted(ABOVE, same)
                x += same
            elif run >= 2:
                flush()
                counted(RUN, run, row[x])
                x += run
            else:
                literal.append(row[x])
                x += 1
        flush()
    return out


def main(convert, source, target):
    with open(target, "wb") as out:
        out.write(pack(*pixels(convert, source)))


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    main(*sys.argv[1:])
