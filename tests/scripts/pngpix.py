#!/usr/bin/env python3
"""Read pixels of a PNG (8-bit grey, RGB, RGBA, grey+alpha or palette, not
interlaced) with the standard library only.

  pngpix.py FILE size              -> "W H"
  pngpix.py FILE pixel X Y         -> "#rrggbb"
  pngpix.py FILE count #rrggbb     -> number of pixels of that colour
  pngpix.py FILE pixels X,Y ...    -> "#rrggbb" of each point, one a line
"""
import struct
import sys
import zlib


def read_png(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG file")
    pos, idat, palette = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            w, h, depth, ctype, _, _, interlace = struct.unpack(">IIBBBBB", body)
        elif kind == b"PLTE":
            palette = [tuple(body[i:i + 3]) for i in range(0, len(body), 3)]
        elif kind == b"IDAT":
            idat += body
        elif kind == b"IEND":
            break
    if depth != 8 or interlace:
        raise ValueError("only 8-bit, non-interlaced PNG")
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[ctype]
    raw = zlib.decompress(idat)
    stride = w * channels
    rows, prev = [], bytearray(stride)
    for y in range(h):
        ftype = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - channels] if i >= channels else 0
            b = prev[i]
            c = prev[i - channels] if i >= channels else 0
            if ftype == 1:
                line[i] = (line[i] + a) & 255
            elif ftype == 2:
                line[i] = (line[i] + b) & 255
            elif ftype == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif ftype == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                pr = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                line[i] = (line[i] + pr) & 255
        rows.append(bytes(line))
        prev = line

    def rgb(x, y):
        px = rows[y][x * channels:(x + 1) * channels]
        if ctype == 3:
            return palette[px[0]]
        if ctype in (0, 4):
            return (px[0], px[0], px[0])
        return tuple(px[:3])

    return w, h, rgb


def main(argv):
    w, h, rgb = read_png(argv[1])
    if argv[2] == "size":
        print(w, h)
    elif argv[2] == "pixel":
        print("#%02x%02x%02x" % rgb(int(argv[3]), int(argv[4])))
    elif argv[2] == "pixels":
        for point in argv[3:]:
            x, y = (int(v) for v in point.split(","))
            print("#%02x%02x%02x" % rgb(x, y))
    elif argv[2] == "count":
        want = tuple(int(argv[3][i:i + 2], 16) for i in (1, 3, 5))
        print(sum(1 for y in range(h) for x in range(w) if rgb(x, y) == want))
    else:
        raise SystemExit("unknown query " + argv[2])


if __name__ == "__main__":
    main(sys.argv)
