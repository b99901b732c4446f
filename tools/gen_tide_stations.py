#!/usr/bin/env python3
"""Generate tides/tide_stations.tsv: the tide stations the program can predict.

Reads the tide-harmonics database archive (one JSON file per station, its
quality.json) and JMA's list of tide-table stations, and writes one line per
station the database's maintainers accept (quality.json "accepted": true;
duplicates, superseded sources and stations failing their datum checks are
left out, as they leave them out of their own station list):

    C  name name ...                      the constituents, index from 0
    R  id name name_ja region country latitude longitude timezone source
       licence datum z0 terms             a reference station
    S  id name name_ja region country latitude longitude timezone source
       licence datum reference offsets    a subordinate station

fields separated by tabs. z0 is the mean sea level above the station's chart
datum (metres); terms are "index:amplitude:phase" with the amplitude in
tenths of a millimetre and the Greenwich phase lag in hundredths of a degree
(integers: the file reads back to the digits written). offsets are
"ratio|fixed high low time_high time_low" (a factor or metres added, minutes
added). name_ja is the name of the JMA tide-table station within 3 km
(nearest), or "-".

Usage (from the repository root; the defaults are these paths):
    python3 tools/gen_tide_stations.py [--archive ../shared/data/tide-stations/tide-database.tar.xz]
        [--jma ../shared/data/tide-tables/jma-stations.json] [--out tides/tide_stations.tsv]
"""
import argparse
import hashlib
import io
import json
import math
import os
import sys
import tarfile

ARCHIVE = "../shared/data/tide-stations/tide-database.tar.xz"
ARCHIVE_SHA256 = "09ebb6d6ee36cc5a89cd31dc24ddd987d940a9c0c2f7c29eb05fab5f7a794f09"
JMA = "../shared/data/tide-tables/jma-stations.json"
JMA_SHA256 = None  # checked by the regeneration test through the output's header
DATABASE_COMMIT = "f7465efa0ece09263c93123b5024e6a6da897867"
MATCH_KM = 3.0
EARTH_KM = 6371.0


def km(lat1, lon1, lat2, lon2):
    """Great-circle distance (haversine), km."""
    p1, p2 = math.radians(lat1), math.radians(lat2)
    dp, dl = p2 - p1, math.radians(lon2 - lon1)
    a = math.sin(dp / 2) ** 2 + math.cos(p1) * math.cos(p2) * math.sin(dl / 2) ** 2
    return 2 * EARTH_KM * math.asin(min(1.0, math.sqrt(a)))


def clean(text):
    """A field without tabs or line ends; '-' when empty."""
    text = " ".join(str(text).split())
    return text if text else "-"


def number(x, digits):
    """A decimal as fixed text without a negative zero."""
    s = "%.*f" % (digits, x)
    return s[1:] if s.startswith("-") and float(s) == 0 else s


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--archive", default=ARCHIVE)
    ap.add_argument("--jma", default=JMA)
    ap.add_argument("--out", default="tides/tide_stations.tsv")
    args = ap.parse_args()

    raw = open(args.archive, "rb").read()
    digest = hashlib.sha256(raw).hexdigest()
    if digest != ARCHIVE_SHA256:
        sys.exit("gen_tide_stations: %s has sha256 %s, expected %s" % (args.archive, digest, ARCHIVE_SHA256))
    jma_raw = open(args.jma, "rb").read()
    jma_digest = hashlib.sha256(jma_raw).hexdigest()
    jma = json.loads(jma_raw.decode("utf-8"))

    stations = {}
    quality = None
    with tarfile.open(fileobj=io.BytesIO(raw), mode="r:xz") as tar:
        for member in tar:
            if not member.isfile():
                continue
            parts = member.name.split("/")
            if parts[-1] == "quality.json" and len(parts) == 2:
                quality = json.load(tar.extractfile(member))
            elif len(parts) == 4 and parts[1] == "data" and parts[3].endswith(".json"):
                sid = parts[2] + "/" + parts[3][:-5]
                stations[sid] = json.load(tar.extractfile(member))
    if quality is None:
        sys.exit("gen_tide_stations: no quality.json in the archive")
    accepted = {q["id"] for q in quality if q.get("accepted")}
    ids = sorted(s for s in stations if s in accepted)

    # constituents, most used first (ties by name)
    uses = {}
    for sid in ids:
        for c in stations[sid].get("harmonic_constituents") or []:
            uses[c["name"].upper()] = uses.get(c["name"].upper(), 0) + 1
    names = sorted(uses, key=lambda n: (-uses[n], n))
    index = {n: i for i, n in enumerate(names)}

    lines = []
    counts = {"R": 0, "S": 0}
    named = 0
    for sid in ids:
        s = stations[sid]
        lat, lon = float(s["latitude"]), float(s["longitude"])
        ja = "-"
        if s.get("country") == "Japan":
            best = None
            for j in jma:
                d = km(lat, lon, j["lat"], j["lon"])
                if d <= MATCH_KM and (best is None or d < best[0]):
                    best = (d, j["name"])
            if best:
                ja = best[1]
                named += 1
        head = [sid, clean(s["name"]), ja, clean(s.get("region", "")), clean(s.get("country", "")),
                number(lat, 6), number(lon, 6), clean(s.get("timezone", "")),
                clean(s["source"]["name"]), clean(s["license"]["type"]), clean(s["chart_datum"])]
        if s["type"] == "subordinate":
            o = s["offsets"]
            ref = o["reference"]
            if ref not in accepted or stations[ref]["type"] != "reference":
                continue
            h, t = o["height"], o["time"]
            offsets = "%s %s %s %s %s" % (h["type"], number(h["high"], 3), number(h["low"], 3),
                                          number(t["high"], 1), number(t["low"], 1))
            lines.append("\t".join(["S"] + head + [ref, offsets]))
            counts["S"] += 1
            continue
        datums = s.get("datums") or {}
        z0 = 0.0
        if "MSL" in datums and s["chart_datum"] in datums:
            z0 = datums["MSL"] - datums[s["chart_datum"]]
        else:
            head[-1] = "MSL"
        terms = []
        for c in s.get("harmonic_constituents") or []:
            a = round(c["amplitude"] * 10000)
            if a == 0:
                continue
            g = round((c["phase"] % 360.0) * 100) % 36000
            terms.append((index[c["name"].upper()], a, g))
        if not terms:
            continue
        terms.sort()
        lines.append("\t".join(["R"] + head + [number(z0, 4),
                                               " ".join("%d:%d:%d" % t for t in terms)]))
        counts["R"] += 1

    out = []
    out.append("# Generated by tools/gen_tide_stations.py from %s (sha256 %s) and %s (sha256 %s). Do not edit."
               % (ARCHIVE, digest, JMA, jma_digest))
    out.append("# Command (from the repository root): python3 tools/gen_tide_stations.py")
    out.append("# Tide harmonic constituents from the Neaps tide database "
               "(https://github.com/openwatersio/tide-database, commit %s):" % DATABASE_COMMIT)
    out.append("# NOAA CO-OPS stations in the public domain; TICON-4 stations (Hart-Davis et al., TICON-4, "
               "SEANOE, https://www.seanoe.org/data/00980/109129/) under CC BY 4.0 "
               "(https://creativecommons.org/licenses/by/4.0/). Converted: amplitudes to 0.1 mm, "
               "phases to 0.01 degree, only the stations the database accepts.")
    out.append("# Japanese names: JMA tide-table stations within %g km." % MATCH_KM)
    out.append("# %d stations: %d reference, %d subordinate (%d with a Japanese name)"
               % (counts["R"] + counts["S"], counts["R"], counts["S"], named))
    out.append("C\t" + "\t".join(names))
    out.extend(lines)
    text = "\n".join(out) + "\n"
    os.makedirs(os.path.dirname(os.path.abspath(args.out)), exist_ok=True)
    with open(args.out, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)
    print("gen_tide_stations: %d stations, %d bytes" % (counts["R"] + counts["S"], len(text.encode())),
          file=sys.stderr)


if __name__ == "__main__":
    main()
