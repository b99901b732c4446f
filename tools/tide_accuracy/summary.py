#!/usr/bin/env python3
"""Pair the program's high and low waters with the reference's and summarise.

Usage: summary.py OUT_DIR ID...   reads OUT_DIR/<id>.tenmado.json (the
program's --almanac --json --days output) and OUT_DIR/<id>.reference.json
(reference.js); prints a Markdown table: for each station the number of
waters, the median and largest difference of time (minutes) and of height
(cm), each water paired with the reference's nearest of the same kind
within an hour (one without a partner is counted as missed).
"""
import json
import os
import statistics
import sys


def waters_of_program(path):
    days = json.load(open(path))
    seen, out = set(), []
    for day in days:
        for t in day["tides"]:
            key = (t["kind"], round(t["jd"], 6))
            if key not in seen:
                seen.add(key)
                out.append((t["kind"] == "high", t["jd"], t["height"]))
    return out


def main():
    out_dir, ids = sys.argv[1], sys.argv[2:]
    print("| station | waters | missed | time median (min) | time max (min) | height median (cm) | height max (cm) |")
    print("|---|---|---|---|---|---|---|")
    worst = 0.0
    for sid in ids:
        # "tokyo-bay=ID": the program's Tokyo Bay model against ID's reference
        program, _, ref_id = sid.partition("=")
        ref_id = ref_id or program
        ours = waters_of_program(os.path.join(out_dir, program.replace("/", "_") + ".tenmado.json"))
        ref = json.load(open(os.path.join(out_dir, ref_id.replace("/", "_") + ".reference.json")))
        dt, dh, missed = [], [], 0
        for high, jd, h in ours:
            best = None
            for r in ref:
                if r["high"] == high and abs(r["jd"] - jd) < 1 / 24 and (
                        best is None or abs(r["jd"] - jd) < abs(best["jd"] - jd)):
                    best = r
            if best is None:
                missed += 1
                continue
            dt.append(abs(best["jd"] - jd) * 1440)
            dh.append(abs(best["height"] - h) * 100)
        print("| %s | %d | %d | %.2f | %.2f | %.2f | %.2f |" % (
            sid if program == ref_id else "%s model at %s" % (program, ref_id), len(ours), missed, statistics.median(dt), max(dt), statistics.median(dh), max(dh)))
        worst = max(worst, max(dt))
    return 0


if __name__ == "__main__":
    sys.exit(main())
