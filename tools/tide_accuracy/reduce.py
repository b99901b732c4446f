#!/usr/bin/env python3
"""The tide stations' data file without some constituents.

Usage: reduce.py DATA_FILE NAME,NAME,... > reduced.tsv
"""
import sys


def main():
    path, names = sys.argv[1], set(sys.argv[2].split(","))
    drop = set()
    for line in open(path, encoding="utf-8"):
        line = line.rstrip("\n")
        if line.startswith("C\t"):
            drop = {str(i) for i, n in enumerate(line.split("\t")[1:]) if n in names}
        elif line.startswith("R\t"):
            f = line.split("\t")
            f[-1] = " ".join(t for t in f[-1].split(" ") if t.split(":")[0] not in drop)
            line = "\t".join(f)
        print(line)


if __name__ == "__main__":
    main()
