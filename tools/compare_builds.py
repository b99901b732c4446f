#!/usr/bin/env python3
"""Compare two builds of tenmado instant by instant.

  tools/compare_builds.py OLD_BINARY NEW_BINARY [N] [--jobs J] [--keep DIR]
                          [--old-fields]

Runs both binaries at N civil instants (default 1000) spread over 1900-2100
and compares, for every instant:
  - the output of `--almanac --json --at T`, byte for byte (and the exit
    status); with --old-fields, for a new build whose JSON adds fields and
    puts the tides in time order, every field of the old output has the same
    value in the new one (the tides compared in time order), and nothing
    else is compared;
  - the picture of `--snapshot FILE --at T`: identical PNG files are equal;
    otherwise both are decoded (tests/scripts/pngpix.py) and compared pixel
    for pixel.
The instants are a fixed list: the first is 1900-01-01 00:00:00, the last
2100-12-31 23:59:59; in between the dates step evenly, and the times of day
take turns: midnight, 23:59:59, the last day of the month at 23:59:59 or at
a time of a fixed pseudo-random sequence, and such times on the date itself.
Prints a summary; exits 1 when anything differs, 2 on a bad command line.
With --keep DIR the pictures and JSON of the instants that differ are kept.
Both binaries run with XDG_CONFIG_HOME set to an empty folder, so that no
settings file of the user's changes either picture.
"""
import argparse
import calendar
import concurrent.futures
import datetime
import json
import os
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "scripts"))
import pngpix  # noqa: E402  (the project's standard-library PNG reader)

FIRST = datetime.date(1900, 1, 1)
LAST = datetime.date(2100, 12, 31)


def instants(n):
    """The fixed list of n instants, "YYYY-MM-DD HH:MM:SS"."""
    span = (LAST - FIRST).days
    seed = 20261206
    out = []
    for i in range(n):
        seed = (seed * 1103515245 + 12345) % 2147483648  # fixed LCG
        seconds = seed % 86400
        date = FIRST + datetime.timedelta(days=(i * span) // max(n - 1, 1))
        month_end = date.replace(day=calendar.monthrange(date.year, date.month)[1])
        kind = i % 6
        if kind == 0:
            when = (date, 0)                   # midnight
        elif kind == 1:
            when = (date, 86399)               # the last second of the day
        elif kind == 2:
            when = (month_end, 86399)          # the last second of the month
        elif kind == 3:
            when = (month_end, seconds)        # the end of the month
        else:
            when = (date, seconds)
        if i == n - 1:
            when = (LAST, 86399)
        d, s = when
        out.append("%04d-%02d-%02d %02d:%02d:%02d"
                   % (d.year, d.month, d.day, s // 3600, s // 60 % 60, s % 60))
    return out


ENV = dict(os.environ)


def run(binary, args):
    p = subprocess.run([binary] + args, stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=ENV)
    return p.returncode, p.stdout


def old_fields_differ(old, new):
    """True unless every field of the old JSON has its value in the new one
    (the tides of both taken in time order)."""
    try:
        o, n = json.loads(old), json.loads(new)
    except ValueError:
        return True

    def differ(a, b, path):
        if isinstance(a, dict):
            return not isinstance(b, dict) or any(
                k not in b or differ(a[k], b[k], path + "." + k) for k in a)
        if isinstance(a, list):
            if path == ".tides":
                a = sorted(a, key=lambda t: t["jd"])
                b = sorted(b, key=lambda t: t["jd"]) if isinstance(b, list) else b
            return (not isinstance(b, list) or len(a) != len(b)
                    or any(differ(x, y, path + "[]") for x, y in zip(a, b)))
        return type(a) is not type(b) or a != b

    return differ(o, n, "")


def pixel_difference(a, b):
    """Number of differing pixels of two PNG files (all, if sizes differ)."""
    wa, ha, pa = pngpix.read_png(a)
    wb, hb, pb = pngpix.read_png(b)
    if (wa, ha) != (wb, hb):
        return max(wa * ha, wb * hb)
    return sum(1 for y in range(ha) for x in range(wa) if pa(x, y) != pb(x, y))


def compare(old, new, at, work, keep, old_fields):
    """Differences at one instant: (json_differs, pixels_differing, note)."""
    tag = at.replace(" ", "_").replace(":", "")
    rc_o, json_o = run(old, ["--almanac", "--json", "--at", at])
    rc_n, json_n = run(new, ["--almanac", "--json", "--at", at])
    if old_fields:
        json_differs = rc_o != rc_n or old_fields_differ(json_o, json_n)
    else:
        json_differs = rc_o != rc_n or json_o != json_n
    png_o = os.path.join(work, tag + "_old.png")
    png_n = os.path.join(work, tag + "_new.png")
    rs_o, _ = run(old, ["--snapshot", png_o, "--at", at])
    rs_n, _ = run(new, ["--snapshot", png_n, "--at", at])
    pixels, note = 0, ""
    if rs_o != 0 or rs_n != 0:
        pixels, note = -1, "snapshot exit %d / %d" % (rs_o, rs_n)
    else:
        with open(png_o, "rb") as f:
            bytes_o = f.read()
        with open(png_n, "rb") as f:
            bytes_n = f.read()
        if bytes_o != bytes_n:
            pixels = pixel_difference(png_o, png_n)
            if pixels == 0:
                note = "PNG bytes differ, pixels equal"
    if keep and (json_differs or pixels):
        os.makedirs(keep, exist_ok=True)
        for path in (png_o, png_n):
            if os.path.exists(path):
                shutil.copy(path, keep)
        with open(os.path.join(keep, tag + "_old.json"), "wb") as f:
            f.write(json_o)
        with open(os.path.join(keep, tag + "_new.json"), "wb") as f:
            f.write(json_n)
    for path in (png_o, png_n):
        if os.path.exists(path):
            os.remove(path)
    return json_differs, pixels, note


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("old")
    ap.add_argument("new")
    ap.add_argument("n", nargs="?", type=int, default=1000)
    ap.add_argument("--jobs", type=int, default=2)
    ap.add_argument("--keep", default=None)
    ap.add_argument("--old-fields", action="store_true")
    a = ap.parse_args()
    if a.n < 2 or a.jobs < 1:
        ap.error("N must be at least 2 and --jobs at least 1")
    for b in (a.old, a.new):
        if not os.access(b, os.X_OK):
            ap.error("not an executable: " + b)

    todo = instants(a.n)
    json_diffs, pixel_diffs, pixel_total, notes = [], [], 0, []
    with tempfile.TemporaryDirectory(prefix="compare_builds.") as work:
        ENV["XDG_CONFIG_HOME"] = os.path.join(work, "no-settings")
        with concurrent.futures.ThreadPoolExecutor(max_workers=a.jobs) as pool:
            results = pool.map(
                lambda at: (at, compare(a.old, a.new, at, work, a.keep, a.old_fields)), todo)
            for at, (jd, px, note) in results:
                if jd:
                    json_diffs.append(at)
                if px:
                    pixel_diffs.append(at)
                    pixel_total += max(px, 0)
                if note:
                    notes.append(at + ": " + note)

    print("instants compared: %d (%s to %s)" % (len(todo), todo[0], todo[-1]))
    print("almanac JSON differing%s: %d"
          % (" (the old fields)" if a.old_fields else "", len(json_diffs)))
    print("snapshots differing: %d (%d pixels)" % (len(pixel_diffs), pixel_total))
    for at in (json_diffs + pixel_diffs)[:10]:
        print("  differs at " + at)
    for n in notes[:10]:
        print("  note: " + n)
    return 1 if json_diffs or pixel_diffs else 0


if __name__ == "__main__":
    sys.exit(main())
