#!/usr/bin/env python3
"""gen_perturbation_grids: the seven Jupiter and Saturn perturbation grids.

Given:
    --terms  periodic terms of the classical analytic theory of the mutual
             perturbations of Jupiter and Saturn (Meeus, Astronomical
             Formulae for Calculators), one term a line:
             series c0 c_nu k_zeta f_zeta k_Q f_Q unit
             (default ../shared/data/perturbations/jupiter_saturn_terms.tsv)
    --out    the C++ source to write (default ephem/perturbation_grids.cpp)

Returned:
    the C++ file defining Jup_L8, Jup_Ps8, Jup_Ph8, Sat_L8, Sat_Ps8,
    Sat_Ph8 and Sat_Ax8 (37 x 37 whole numbers, [i][j] for B = 10 i,
    A = 10 j); on standard output the overlay changes (node, before, after).

Notes:
 1) Tabulation.  At node [i][j] the Saturn mean longitude is Q = A = 10 j
    and zeta = Q - P = -B = -10 i.  nu = T/5 + 0.1 is frozen at 0.3 (the
    year 2000).  A term is (c0 + c_nu nu) F(k_zeta zeta) G(k_Q Q), F and G
    sine, cosine or 1; a series is the sum of its terms.
 2) Units and offsets of the planet routine:
        Jup_L8  = 100 dL            Sat_L8  = 100 dL + 50
        Jup_Ps8 = 100 (e dperi)     Sat_Ps8 = 100 (e dperi) + 50
        Jup_Ph8 = 100 dphi          Sat_Ph8 = 100 dphi + 50
                                    Sat_Ax8 = 1000 da + 50
    with dphi = de / cos(phi0) in degrees (e = sin phi), phi0 = 2.78 deg for
    Jupiter and 3.19 deg for Saturn (their values at the year 2000).
 3) Rounding half away from zero; column 36 repeats column 0 and row 36
    repeats row 0 (the bilinear lookup reads column j + 1 and row i + 1);
    every value is clipped to the range of its grid.
 4) Overlay of the fixed data: row 0 (and row 36) of Jup_L8, Sat_L8 and
    Sat_Ax8 as the almanac prints them; then, at the four nodes of the cell
    read at JD 2451545.0, the smallest integer changes (least sum of
    absolute changes; ties go to the least largest single change, then to
    the value nearest the target, then to the first in a fixed order) that make each grid term at that instant,
    computed exactly as Planet_Position computes it, equal its fixed value.
    A change never touches a printed row, and a change in row 0 or column 0
    is copied to row 36 or column 36 (and the other way round).
 5) The output is byte for byte reproducible: it depends only on the
    contents of the terms file, never on the paths given.

Called by:
    tests/core/perturbation_grids_test.cpp (regeneration check).
"""

import argparse
import hashlib
import itertools
import math
import os
import sys

N = 37              # nodes per argument: 0, 10, ..., 360 degrees
STEP = 10.0         # degrees between nodes
NU = 0.3            # nu = T/5 + 0.1 frozen at the year 2000
PHI0_JUP = 2.78     # Jupiter's eccentricity angle at 2000, degrees
PHI0_SAT = 3.19     # Saturn's eccentricity angle at 2000, degrees
SAT_OFFSET = 50     # offset stored in the Saturn grids

# Grid name -> (series, scale, offset, (lowest, highest) entry)
GRIDS = [
    ("Jup_L8",  "jupiter_dL",      100.0,  0, (-8, 6)),
    ("Jup_Ps8", "jupiter_e_dperi", 100.0,  0, (-4, 5)),
    ("Jup_Ph8", "jupiter_de",      100.0,  0, (-5, 5)),
    ("Sat_L8",  "saturn_dL",       100.0,  SAT_OFFSET, (29, 76)),
    ("Sat_Ps8", "saturn_e_dperi",  100.0,  SAT_OFFSET, (29, 72)),
    ("Sat_Ph8", "saturn_de",       100.0,  SAT_OFFSET, (29, 74)),
    ("Sat_Ax8", "saturn_da",       1000.0, SAT_OFFSET, (12, 85)),
]

# Row 0 (columns 0..36) as printed in the almanac's tables.
PRINTED_ROW0 = {
    "Jup_L8": [-2, -2, -3, -3, -4, -4, -4, -4, -4, -4, -3, -3, -2, -1, 0, 1, 2, 2, 3,
               3, 3, 3, 3, 3, 3, 3, 3, 3, 2, 2, 2, 2, 1, 1, 0, 1, -2],
    "Sat_L8": [55, 57, 58, 59, 60, 60, 61, 61, 61, 59, 57, 56, 54, 52, 49, 47, 45, 43,
               42, 42, 41, 40, 40, 40, 41, 41, 42, 43, 44, 45, 46, 47, 47, 50, 52, 53, 55],
    "Sat_Ax8": [83, 83, 83, 83, 82, 81, 80, 79, 78, 77, 76, 76, 75, 75, 75, 75, 74, 74,
                74, 74, 74, 74, 74, 74, 75, 75, 76, 76, 77, 78, 79, 80, 82, 82, 83, 83, 83],
}

# The instant whose grid terms are fixed, and those terms (value, decimals).
JD_FIXED = 2451545.0
FIXED_TERMS = {
    "Jup_L8":  (-0.01, 2),
    "Jup_Ps8": (0.04, 2),
    "Jup_Ph8": (0.01, 2),
    "Sat_L8":  (0.51, 2),
    "Sat_Ps8": (0.35, 2),
    "Sat_Ph8": (0.62, 2),
    "Sat_Ax8": (0.08, 3),
}

MAX_CHANGE = 12     # largest change tried at one node of the fixed cell

CANONICAL_TERMS = "../shared/data/perturbations/jupiter_saturn_terms.tsv"
CANONICAL_OUT = "ephem/perturbation_grids.cpp"
GENERATOR = "tools/gen_perturbation_grids.py"


# ---------------------------------------------------------------- terms

def read_terms(path):
    """Terms by series: list of (c0, c_nu, k_zeta, f_zeta, k_Q, f_Q)."""
    series = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.strip()
            if not line or line.startswith("#"):
                continue
            name, c0, cnu, kz, fz, kq, fq, _unit = line.split("\t")
            series.setdefault(name, []).append(
                (float(c0), float(cnu), int(kz), fz, int(kq), fq))
    return series


def factor(kind, k, angle_deg):
    """F(k angle) for F = s (sine), c (cosine) or 1."""
    if kind == "1":
        return 1.0
    x = math.radians(k * angle_deg)
    if kind == "s":
        return math.sin(x)
    if kind == "c":
        return math.cos(x)
    raise ValueError("unknown factor " + kind)


def series_value(terms, zeta, q):
    """Sum of the terms of one series at zeta and Q (degrees), nu = NU."""
    total = 0.0
    for c0, cnu, kz, fz, kq, fq in terms:
        total += (c0 + cnu * NU) * factor(fz, kz, zeta) * factor(fq, kq, q)
    return total


def round_half_away(x):
    """Nearest whole number, halves away from zero."""
    return int(math.copysign(math.floor(abs(x) + 0.5), x))


# ---------------------------------------------------------------- tabulation

def tabulate(series, name, scale, offset, lohi):
    """One grid: tabulated, rounded, periodic row/column 36, clipped."""
    terms = series[name]
    phi0 = PHI0_JUP if name.startswith("jupiter") else PHI0_SAT
    grid = [[0] * N for _ in range(N)]
    for i in range(N):
        for j in range(N):
            q = STEP * j
            zeta = -STEP * i
            v = series_value(terms, zeta, q)
            if name.endswith("_de"):
                # e = sin phi, so dphi = de / cos phi0, in degrees
                v = math.degrees(v / math.cos(math.radians(phi0)))
            grid[i][j] = round_half_away(scale * v + offset)
    for i in range(N):
        grid[i][N - 1] = grid[i][0]
    grid[N - 1] = list(grid[0])
    lo, hi = lohi
    for i in range(N):
        for j in range(N):
            grid[i][j] = min(hi, max(lo, grid[i][j]))
    return grid


# ---------------------------------------------------------------- lookup
# The same arithmetic, in the same order, as Planet_Position.

def reduce360(x):
    """Reduce to [0, 360) as Reduce360 does."""
    f = x / 360
    r = (f - math.floor(f)) * 360
    if r < 0:
        r += 360
    return r


def grid_arguments(jd):
    """A, B of the grid lookup (degrees)."""
    a = reduce360((jd - 1721057.0) * 0.033459 + 86.1)
    b = reduce360((jd - 1721057.0) * 0.04963 + 89.1)
    return a, b


def lookup(g, a, b):
    """Bilinear interpolation of grid g at A, B."""
    j = int(a / 10)
    i = int(b / 10)
    fa = a - 10 * j
    fb = b - 10 * i
    r0 = g[i][j] + (g[i][j + 1] - g[i][j]) * fa / 10
    r1 = g[i + 1][j] + (g[i + 1][j + 1] - g[i + 1][j]) * fa / 10
    return r0 + (r1 - r0) * fb / 10


def quantise(x, decimals):
    """q2 or q3: x to 2 or 3 decimals, halves away from zero."""
    s = 10.0 ** decimals
    sign = 1.0 if x > 0 else (-1.0 if x < 0 else 0.0)
    return sign * math.floor(abs(x) * s + 0.5) / s


def term(g, a, b, decimals):
    """The grid term: q2(g/100) or q3(g/1000)."""
    return quantise(lookup(g, a, b) / 10.0 ** decimals, decimals)


# ---------------------------------------------------------------- overlay

def twins(i, j):
    """The node and its copies: row 0 <-> row 36, column 0 <-> column 36."""
    rows = {i, N - 1} if i == 0 else ({i, 0} if i == N - 1 else {i})
    cols = {j, N - 1} if j == 0 else ({j, 0} if j == N - 1 else {j})
    return [(r, c) for r in sorted(rows) for c in sorted(cols)]


def fix_cell(grid, name, lohi, target, decimals, log):
    """Smallest integer changes at the fixed cell so the term equals target."""
    # Both reductions of the arguments must agree, so that the result does
    # not hang on the last bit of A or B.
    args = [grid_arguments(JD_FIXED)]
    raw_a = (JD_FIXED - 1721057.0) * 0.033459 + 86.1
    raw_b = (JD_FIXED - 1721057.0) * 0.04963 + 89.1
    args.append((math.fmod(raw_a, 360.0), math.fmod(raw_b, 360.0)))
    a, b = args[0]
    j = int(a / 10)
    i = int(b / 10)
    nodes = [(i, j), (i, j + 1), (i + 1, j), (i + 1, j + 1)]
    # A node may appear twice through its copies; group by the copy set.
    keys = []
    for node in nodes:
        key = tuple(twins(*node))
        if key not in keys:
            keys.append(key)
    fixed_rows = {0, N - 1} if name in PRINTED_ROW0 else set()
    movable = [k for k in keys if not any(r in fixed_rows for r, _ in k)]
    lo, hi = lohi
    scale = 10.0 ** decimals

    def attempt(deltas):
        g = {}
        for key, d in zip(movable, deltas):
            for r, c in key:
                g[(r, c)] = grid[r][c] + d
                if not lo <= g[(r, c)] <= hi:
                    return None
        view = _Patched(grid, g)
        if all(term(view, aa, bb, decimals) == target for aa, bb in args):
            return view
        return None

    # Candidates by increasing sum of absolute changes.
    span = range(-MAX_CHANGE, MAX_CHANGE + 1)
    candidates = sorted(itertools.product(span, repeat=len(movable)),
                        key=lambda d: sum(abs(x) for x in d))
    best = None
    for deltas in candidates:
        if best is not None and sum(abs(x) for x in deltas) > best[0]:
            break
        g = attempt(deltas)
        if g is None:
            continue
        rank = (max(abs(x) for x in deltas),
                abs(lookup(g, a, b) - target * scale))
        if best is None or rank < best[1]:
            best = (sum(abs(x) for x in deltas), rank, deltas)
    if best is None:
        sys.exit("gen_perturbation_grids: no change of the cell gives %s = %g"
                 % (name, target))
    deltas = best[2]
    g = [row[:] for row in grid]
    for key, d in zip(movable, deltas):
        for r, c in key:
            g[r][c] += d
    for key, d in zip(movable, deltas):
        if d != 0:
            for r, c in key:
                log.append((name, r, c, grid[r][c], g[r][c], "term at JD 2451545.0"))
    return g


class _Patched:
    """A grid seen with some nodes replaced (rows read as g[i][j])."""

    def __init__(self, grid, patch):
        self.grid = grid
        self.patch = patch

    def __getitem__(self, i):
        return _PatchedRow(self.grid[i], self.patch, i)


class _PatchedRow:
    def __init__(self, row, patch, i):
        self.row = row
        self.patch = patch
        self.i = i

    def __getitem__(self, j):
        return self.patch.get((self.i, j), self.row[j])


def overlay(grids):
    """Printed rows, then the fixed cell; returns the list of changes."""
    log = []
    for name, row in PRINTED_ROW0.items():
        g = grids[name]
        for r in (0, N - 1):
            for c in range(N):
                if g[r][c] != row[c]:
                    log.append((name, r, c, g[r][c], row[c], "printed row"))
                    g[r][c] = row[c]
    for name, _series, _scale, _offset, lohi in GRIDS:
        target, decimals = FIXED_TERMS[name]
        grids[name] = fix_cell(grids[name], name, lohi, target, decimals, log)
    return log


# ---------------------------------------------------------------- output

def sha256_of(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def write_cpp(path, grids, log, digest):
    out = []
    out.append("// Generated by %s from %s (sha256 %s). Do not edit."
               % (GENERATOR, CANONICAL_TERMS, digest))
    out.append("// Command (from the repository root): python3 %s" % GENERATOR)
    out.append("//")
    out.append("// Short-period perturbations of Jupiter and Saturn (Meeus, Astronomical")
    out.append("// Formulae for Calculators) tabulated at B = 10 i (rows), A = 10 j (columns),")
    out.append("// nu = 0.3; units 0.01 degree (0.001 AU for Sat_Ax8), Saturn grids +50.")
    out.append("// Nodes laid over the tabulation (grid [row][column]: tabulated -> kept):")
    for name, r, c, before, after, why in log:
        out.append("//   %-7s [%2d][%2d] %4d -> %4d  (%s)" % (name, r, c, before, after, why))
    out.append("")
    out.append('#include "ephem/planet.h"')
    out.append("")
    for name, _series, _scale, _offset, lohi in GRIDS:
        g = grids[name]
        out.append("// %s: range %d..%d" % (name, lohi[0], lohi[1]))
        out.append("const double %s[37][37] = {" % name)
        for i in range(N):
            cells = ",".join("%3d" % v for v in g[i])
            out.append("    {%s},  // B = %d" % (cells, STEP * i and int(STEP * i)))
        out.append("};")
        out.append("static_assert(sizeof(%s) == 37 * 37 * sizeof(double));" % name)
        out.append("")
    text = "\n".join(out)
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    root = os.path.dirname(here)
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--terms", default=os.path.join(root, CANONICAL_TERMS))
    ap.add_argument("--out", default=os.path.join(root, CANONICAL_OUT))
    ap.add_argument("--quiet", action="store_true", help="print nothing")
    args = ap.parse_args()

    series = read_terms(args.terms)
    grids = {}
    for name, sname, scale, offset, lohi in GRIDS:
        grids[name] = tabulate(series, sname, scale, offset, lohi)

    # How far the plain tabulation is from the printed rows.
    report = []
    for name, row in PRINTED_ROW0.items():
        diffs = [abs(grids[name][0][c] - row[c]) for c in range(N)]
        report.append("%s row 0: %d of 37 exact, %d within one unit, largest %d"
                      % (name, diffs.count(0), sum(d <= 1 for d in diffs), max(diffs)))

    log = overlay(grids)
    write_cpp(args.out, grids, log, sha256_of(args.terms))

    if not args.quiet:
        for line in report:
            print(line)
        print("overlay (grid, node, before, after):")
        for name, r, c, before, after, why in log:
            print("  %-7s [%2d][%2d] %4d -> %4d  %s" % (name, r, c, before, after, why))
        a, b = grid_arguments(JD_FIXED)
        for name, _s, _sc, _o, _lh in GRIDS:
            _target, decimals = FIXED_TERMS[name]
            print("  %-7s term at JD 2451545.0: %.*f (interpolated %.4f)"
                  % (name, decimals, term(grids[name], a, b, decimals),
                     lookup(grids[name], a, b)))
        print("wrote " + args.out)


if __name__ == "__main__":
    main()
