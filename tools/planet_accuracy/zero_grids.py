#!/usr/bin/env python3
"""zero_grids: the perturbation grids source with every entry replaced.

Given: argv[1] the generated grids source (ephem/perturbation_grids.cpp),
argv[2] the file to write.
Returned: argv[2], the same arrays with every Jupiter entry 0 and every
Saturn entry 50 (the stored offset), so that the grid terms vanish. Linked
ahead of the library, it measures what the grids bring.
"""
import re
import sys

GRID = re.compile(r"const double (\w+)\[37\]\[37\] = \{(.*?)\};", flags=re.S)


def blank(m):
    fill = "50" if m.group(1).startswith("Sat") else "0"
    body = re.sub(r"//[^\n]*", "", m.group(2))  # the row comments name B in digits
    return "const double %s[37][37] = {%s};" % (m.group(1), re.sub(r"-?\d+", fill, body))


def main():
    text = open(sys.argv[1]).read()
    out, n = GRID.subn(blank, text)
    if n != 7:
        sys.exit("zero_grids: expected 7 grids in %s, found %d" % (sys.argv[1], n))
    open(sys.argv[2], "w").write(out)


if __name__ == "__main__":
    main()
