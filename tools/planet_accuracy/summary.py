#!/usr/bin/env python3
"""summary: accuracy of Jupiter's and Saturn's heliocentric l and r.

Given: reference.tsv (reference.js), grids.tsv and zero.tsv (positions,
with the committed grids and with all-zero grids).
Returned: on stdout, per planet, RMS and largest |difference| of the
heliocentric longitude (degrees) and radius (AU): what the grids move,
and the error against the reference with and without them.
"""
import math
import sys


def read(path, cols):
    rows = {}
    with open(path) as f:
        for line in f:
            v = line.split()
            rows[(v[0], int(v[1]))] = tuple(float(v[c]) for c in cols)
    return rows


def wrap(d):
    d = math.fmod(d, 360.0)
    if d > 180:
        d -= 360
    if d <= -180:
        d += 360
    return d


def stats(values):
    rms = math.sqrt(sum(v * v for v in values) / len(values))
    mean = sum(values) / len(values)
    sd = math.sqrt(max(0.0, rms * rms - mean * mean))
    return "RMS %.4f  max %.4f  mean %+.4f  sd %.4f" % (
        rms, max(abs(v) for v in values), mean, sd)


def main():
    ref = read(sys.argv[1], (2, 4))
    grids = read(sys.argv[2], (2, 3))
    zero = read(sys.argv[3], (2, 3))
    for code, name in ((5, "Jupiter"), (6, "Saturn")):
        keys = sorted(k for k in ref if k[1] == code)
        print("%s, %d instants, first of each month 1900-2100" % (name, len(keys)))
        for title, a, b in (("grids move (grids - zero)", grids, zero),
                            ("error with grids", grids, ref),
                            ("error with zero grids", zero, ref)):
            dl = [wrap(a[k][0] - b[k][0]) for k in keys]
            dr = [a[k][1] - b[k][1] for k in keys]
            print("  %-26s l: %s deg" % (title, stats(dl)))
            print("  %-26s r: %s AU" % ("", stats(dr)))


if __name__ == "__main__":
    main()
