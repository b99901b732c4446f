#!/usr/bin/env python3
"""summary: the almanac's error against the reference, as Markdown tables.

Given: argv[1], the directory run.sh fills: positions.jsonl and
positions_zero.jsonl (values, with the committed and with all-zero
perturbation grids), events.jsonl, newmoons.jsonl, and the reference's
positions_ref.jsonl, events_ref.jsonl, newmoons_ref.jsonl.
Returned: on stdout, the tables of docs/ACCURACY.md: per quantity the
number of samples, the RMS, the largest absolute difference and the mean
of almanac minus reference; the events that only one side found; and what
the almanac leaves out (Delta T, light time, aberration, nutation).
"""
import json
import math
import os
import sys

SPAN = "1900-2100"
PLANETS = (("mercury", "Mercury"), ("venus", "Venus"), ("mars", "Mars"),
           ("jupiter", "Jupiter"), ("saturn", "Saturn"))
GENUINE_23 = 5 / 1440  # days from 23 h within which 23.0 may be a found event
MIDNIGHT = 2 / 1440    # days from either end of a local date: "near midnight"
ANGLES = {"lam", "ra", "az", "hl", "app", "lam_tt"}  # differences wrap at 360


def read(directory, name):
    with open(os.path.join(directory, name)) as f:
        return [json.loads(line) for line in f if line.strip()]


def wrap(d):
    d = math.fmod(d, 360.0)
    if d > 180:
        d -= 360
    if d <= -180:
        d += 360
    return d


class Table:
    """Rows of quantity, routine, unit, samples, RMS, max, mean."""

    def __init__(self, title):
        self.title = title
        self.rows = []
        self.note = ""

    def add(self, quantity, routine, unit, diffs, digits):
        if not diffs:
            self.rows.append((quantity, routine, unit, "0", "-", "-", "-"))
            return
        rms = math.sqrt(sum(v * v for v in diffs) / len(diffs))
        big = max(abs(v) for v in diffs)
        mean = sum(diffs) / len(diffs)
        f = "%%.%df" % digits
        shown = f % mean
        if float(shown) == 0:
            shown = f % 0.0  # no sign on a mean that rounds to zero
        self.rows.append((quantity, routine, unit, str(len(diffs)), f % rms, f % big,
                          shown.replace("-", "\u2212")))

    def markdown(self):
        out = ["### " + self.title, "",
               "| Quantity | Routine, field | Unit | Samples | RMS | Max | Mean | Span |",
               "|---|---|---|---:|---:|---:|---:|---|"]
        for r in self.rows:
            out.append("| %s | %s | %s | %s | %s | %s | %s | %s |" % (r + (SPAN,)))
        if self.note:
            out += ["", self.note]
        return "\n".join(out) + "\n"


def position_diffs(almanac, reference, body, field, ref_field=None):
    diffs = []
    for key, a in almanac.items():
        if key[1] != body:
            continue
        d = a[field] - reference[key][ref_field or field]
        diffs.append(wrap(d) if field in ANGLES else d)
    return diffs


def positions(directory):
    almanac = {(p["jd"], p["body"]): p for p in read(directory, "positions.jsonl")
               if p["k"] == "pos"}
    zero = {(p["jd"], p["body"]): p for p in read(directory, "positions_zero.jsonl")
            if p["k"] == "pos"}
    reference = {(p["jd"], p["body"]): p for p in read(directory, "positions_ref.jsonl")
                 if p["k"] == "pos"}
    missing = set(almanac) - set(reference)
    if missing:
        sys.exit("summary: %d positions without a reference" % len(missing))

    def rows(table, body, routine, fields):
        for quantity, field, unit, digits in fields:
            table.add(quantity, "%s `%s`" % (routine, field), unit,
                      position_diffs(almanac, reference, body, field), digits)

    sun = Table("Sun (geocentric, geometric, mean ecliptic and equator of date)")
    rows(sun, "sun", "Sun_Position", (
        ("longitude \u03bb", "lam", "deg", 4), ("latitude \u03b2", "bet", "deg", 4),
        ("right ascension \u03b1", "ra", "deg", 4), ("declination \u03b4", "dec", "deg", 4),
        ("distance", "dist", "AU", 6), ("altitude (Tokyo)", "el", "deg", 4),
        ("azimuth (Tokyo)", "az", "deg", 4)))

    moon = Table("Moon (mean ecliptic and equator of date)")
    rows(moon, "moon", "Moon_Position topo 0", (
        ("geocentric longitude \u03bb", "lam", "deg", 3),
        ("geocentric latitude \u03b2", "bet", "deg", 3),
        ("geocentric right ascension \u03b1", "ra", "deg", 3),
        ("geocentric declination \u03b4", "dec", "deg", 3),
        ("distance", "dist", "Earth radii", 3)))
    rows(moon, "moontopo", "Moon_Position topo 1", (
        ("topocentric longitude \u03bb (Tokyo)", "lam", "deg", 3),
        ("topocentric latitude \u03b2 (Tokyo)", "bet", "deg", 3),
        ("topocentric right ascension \u03b1 (Tokyo)", "ra", "deg", 3),
        ("topocentric declination \u03b4 (Tokyo)", "dec", "deg", 3),
        ("altitude (Tokyo)", "el", "deg", 3), ("azimuth (Tokyo)", "az", "deg", 3)))

    planets = Table("Planets (geocentric, geometric, mean ecliptic and equator of date)")
    for body, name in PLANETS:
        for quantity, field, unit, digits in (
                ("longitude \u03bb", "lam", "deg", 4), ("latitude \u03b2", "bet", "deg", 4),
                ("right ascension \u03b1", "ra", "deg", 4),
                ("declination \u03b4", "dec", "deg", 4), ("distance \u0394", "dist", "AU", 5)):
            planets.add("%s %s" % (name, quantity), "Planet_Position `%s`" % field, unit,
                        position_diffs(almanac, reference, body, field), digits)

    # The almanac stores 0 for a right ascension in (359.5, 360): without
    # those instants the right ascension's largest error is that of the theory.
    largest = []
    for body, name in PLANETS:
        kept = [wrap(a["ra"] - reference[k]["ra"]) for k, a in almanac.items()
                if k[1] == body and not (a["ra"] == 0.0 and reference[k]["ra"] > 359.0)]
        largest.append("%s %.4f" % (name, max(abs(d) for d in kept)))
    planets.note = ("Without the instants at which `Planet_Position` stores 0 for a right "
                    "ascension in (359.5, 360), the largest right ascension errors are: "
                    + ", ".join(largest) + " (degrees).\n")

    grids = Table("Jupiter and Saturn, heliocentric, with and without the perturbation grids")
    for body, name in PLANETS[3:]:
        for title, a, b in (("error with the grids", almanac, reference),
                            ("error with all-zero grids", zero, reference),
                            ("grids minus zero grids", almanac, zero)):
            grids.add("%s longitude l, %s" % (name, title), "Planet_Position `hlong`", "deg",
                      position_diffs(a, b, body, "hl"), 4)
            grids.add("%s radius r, %s" % (name, title), "Planet_Position `x, y, z`", "AU",
                      position_diffs(a, b, body, "hr"), 4)

    left_out = Table("What the almanac leaves out (reference against reference)")
    for body, name in (("sun", "Sun"), ("moon", "Moon")):
        left_out.add("%s longitude: Julian day read as TT instead of UT" % name,
                     "(Delta T)", "deg",
                     [wrap(r["lam_tt"] - r["lam"]) for k, r in reference.items()
                      if k[1] == body], 4)
    for body, name in (("sun", "Sun"), ("moon", "Moon")) + PLANETS:
        left_out.add("%s longitude: apparent minus geometric mean of date" % name,
                     "(light time, aberration, nutation)", "deg",
                     [wrap(r["app"] - r["lam"]) for k, r in reference.items()
                      if k[1] == body], 4)
    return [sun, moon, planets, grids, left_out]


def classify(almanac, reference):
    """Pair one date's almanac event with the reference's.

    almanac: the "event" line of values.cpp (start, end, t, jd); reference:
    the Julian day of the reference's event on the same date, or None.
    Returns ("both", almanac minus reference in minutes), ("missed", where)
    when only the reference has one, ("extra", where) when only the almanac
    has one, or ("none", None). where is "midnight" when the event lies
    within two minutes of either end of the local date, else "elsewhere".
    """
    start, end = almanac["start"], almanac["end"]
    none = almanac["t"] == 23.0
    # 23.0 is also a found event when the bracket 22-23 or 23-24 converged
    # with its lower end at 23 h: the event then lies within a minute or so
    # of 23 h.
    genuine_23 = reference is not None and abs(reference - (start + 23 / 24)) < GENUINE_23
    if reference is not None and (not none or genuine_23):
        return "both", (almanac["jd"] - reference) * 1440
    if reference is None and none:
        return "none", None
    instant = reference if reference is not None else almanac["jd"]
    near = min(instant - start, end - instant) < MIDNIGHT
    return ("missed" if reference is not None else "extra"), ("midnight" if near else "elsewhere")


def events(directory):
    almanac = {(e["ev"], e["body"], e["start"]): e for e in read(directory, "events.jsonl")
               if e["k"] == "event"}
    reference = {(e["ev"], e["body"], e["start"]): e
                 for e in read(directory, "events_ref.jsonl") if e["k"] == "event"}
    names = (("sun", "rise", "Sunrise", "Cal_Rise_Time"), ("sun", "set", "Sunset", "Cal_Set_Time"),
             ("sun", "top", "Sun's meridian passage", "Cal_Top_Time"),
             ("moon", "rise", "Moonrise", "Cal_Rise_Time"), ("moon", "set", "Moonset", "Cal_Set_Time"),
             ("moon", "top", "Moon's meridian passage", "Cal_Top_Time"))
    table = Table("Rise, set and meridian passage at Tokyo, every local date")
    published = Table("Rise and set against the published convention (upper limb, "
                      "standard refraction): not the almanac's definition")
    counts = ["| Event | Dates | Both found | Only the reference: near midnight, elsewhere | "
              "Only the almanac: near midnight, elsewhere | Neither |",
              "|---|---:|---:|---:|---:|---:|"]
    for body, ev, name, routine in names:
        diffs, std = [], []
        n = {k: 0 for k in ("dates", "both", "missed midnight", "missed elsewhere",
                            "extra midnight", "extra elsewhere", "none")}
        for key, a in almanac.items():
            if key[0] != ev or key[1] != body:
                continue
            r = reference[key]
            n["dates"] += 1
            kind, value = classify(a, r["ref"])
            if kind == "both":
                n["both"] += 1
                diffs.append(value)
                if r.get("std") is not None:
                    std.append((a["jd"] - r["std"]) * 1440)
            elif kind == "none":
                n["none"] += 1
            else:
                n["%s %s" % (kind, value)] += 1
        call = "`%s(jd, %d)`" % (routine, 0 if body == "sun" else 3)
        table.add(name, call, "min", diffs, 2)
        if ev != "top":
            published.add(name, call, "min", std, 2)
        counts.append("| %s | %d | %d | %d, %d | %d, %d | %d |" % (
            name, n["dates"], n["both"], n["missed midnight"], n["missed elsewhere"],
            n["extra midnight"], n["extra elsewhere"], n["none"]))
    table.note = "\n".join(counts) + "\n"
    return table, published


def newmoons(directory):
    almanac = [m["jd"] for m in read(directory, "newmoons.jsonl") if m["k"] == "newmoon"]
    reference = [m for m in read(directory, "newmoons_ref.jsonl") if m["k"] == "newmoon"]
    table = Table("New moon")
    diffs, geometric, matched = [], [], set()
    for r in reference:
        near = min(almanac, key=lambda a: abs(a - r["jd"]), default=None)
        if near is not None and abs(near - r["jd"]) < 1.0:
            matched.add(near)
            diffs.append((near - r["jd"]) * 1440)
            geometric.append((near - r["geometric"]) * 1440)
    table.add("New moon instant", "`FirstdayCal1`", "min", diffs, 2)
    table.add("New moon instant, against the Sun's geometric longitude",
              "`FirstdayCal1` (not its definition)", "min", geometric, 2)
    table.note = ("New moons: %d in the reference, %d found by the almanac, %d of the reference's "
            "without an almanac instant within a day, %d of the almanac's without a "
            "reference one.\n" % (len(reference), len(almanac), len(reference) - len(diffs),
                                  len(almanac) - len(matched)))
    return table


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: summary.py OUT_DIR")
    directory = sys.argv[1]
    first = read(directory, "positions_ref.jsonl")[0]
    print("Almanac minus reference (%s), observer %.1f N, %.1f E; RMS, largest absolute "
          "difference and mean.\n" % (first["reference"], first["lat"], first["lon"]))
    sun, moon, planets, grids, left_out = positions(directory)
    event_table, published = events(directory)
    for table in (sun, moon, planets, event_table, newmoons(directory), grids, published,
                  left_out):
        print(table.markdown())


if __name__ == "__main__":
    main()
