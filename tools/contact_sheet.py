#!/usr/bin/env python3
"""Draw every constellation figure of panels/constellation_tables.cpp on one sheet.

Each of the 58 figures gets its own frame: a tangent-plane view of the sky
around the figure (north up, east to the left, as seen from the ground) with
a graticule (every hour of right ascension, every 10 degrees of declination),
the figure stars as dots sized by magnitude and coloured by colour class,
the red polyline through slots 1..N with the slot numbers beside each star,
and the label. Where ../shared/data/figures/figures_hr.tsv is present the d3
figure the design started from is drawn underneath in grey.

Usage (from the repository root):
  python3 tools/contact_sheet.py [--tables FILE] [--data DIR] [--svg FILE] [--png FILE]

The PNG is made from the SVG with ImageMagick's `convert`.
"""

import argparse
import collections
import math
import os
import re
import subprocess
import sys
import tempfile

COLOURS = {1: '#00ffff', 2: '#ff0000', 3: '#ff00ff', 4: '#00ff00', 5: '#000000',
           6: '#ffff00', 7: '#ffffff'}
DEFAULT_CELL = 250  # pixels per frame
CELL = DEFAULT_CELL
COLUMNS = 8
MARGIN = 14         # inside a frame
HEADER = 22         # label band at the top of a frame


def read_tables(path):
    text = open(path, encoding='utf-8').read()
    labels = re.findall(r'^\s+"([^"]+)",\s+// \d+$', text, re.M)
    rows = []
    body = text[text.index('Star2[kStar2Rows][10]'):]
    for m in re.finditer(r'^\s+\{([-\d, ]+)\},\s+// (\d+) (.*)$', body, re.M):
        rows.append(([float(v) for v in m.group(1).split(',')], int(m.group(2)), m.group(3)))
    if len(labels) != 88:
        sys.exit('contact_sheet: expected 88 labels, found %d' % len(labels))
    return labels, rows


def decode(code):
    """The star chart's slot decoding (each division truncated)."""
    code = int(code)
    if code < 14:
        return [code]
    if code < 999:
        return [code // 10, code - 10 * (code // 10)]
    if code < 9999:
        return [code // 100, code - 100 * (code // 100)]
    if code > 9999:
        a = code // 10000
        b = (code - 10000 * a) // 100
        return [a, b, code - 100 * b - 10000 * a]
    return []


def read_d3(path):
    """Abbreviation -> list of polylines of (ra_deg, dec_deg)."""
    lines = collections.defaultdict(list)
    if not os.path.exists(path):
        return lines
    for line in open(path, encoding='utf-8'):
        if line.startswith('#') or not line.strip():
            continue
        c = line.rstrip('\n').split('\t')
        if c[2] == '1':
            lines[c[0]].append([])
        lines[c[0]][-1].append((float(c[3]), float(c[4])))
    return lines


def tangent(ra, dec, ra0, dec0):
    """Azimuthal equidistant view around (ra0, dec0), degrees; x grows to the east.
    Points more than 120 degrees away come back as None."""
    r, d, r0, d0 = map(math.radians, (ra, dec, ra0, dec0))
    cosc = math.sin(d0) * math.sin(d) + math.cos(d0) * math.cos(d) * math.cos(r - r0)
    c = math.acos(max(-1.0, min(1.0, cosc)))
    if c > math.radians(120):
        return None
    k = c / math.sin(c) if c > 1e-12 else 1.0
    x = k * math.cos(d) * math.sin(r - r0)
    y = k * (math.cos(d0) * math.sin(d) - math.sin(d0) * math.cos(d) * math.cos(r - r0))
    return math.degrees(x), math.degrees(y)


def unwrap(ra, ref):
    while ra - ref > 180:
        ra -= 360
    while ra - ref < -180:
        ra += 360
    return ra


def clip(a, b, box):
    """Liang-Barsky: the part of segment a-b inside box (x0, y0, x1, y1), or None."""
    (xa, ya), (xb, yb) = a, b
    dx, dy = xb - xa, yb - ya
    t0, t1 = 0.0, 1.0
    for p, q in ((-dx, xa - box[0]), (dx, box[2] - xa), (-dy, ya - box[1]), (dy, box[3] - ya)):
        if p == 0:
            if q < 0:
                return None
            continue
        t = q / p
        if p < 0:
            t0 = max(t0, t)
        else:
            t1 = min(t1, t)
        if t0 > t1:
            return None
    return (xa + t0 * dx, ya + t0 * dy), (xa + t1 * dx, ya + t1 * dy)


def clipped_path(points, box, style):
    """SVG path of a polyline cut to the box (ImageMagick draws no clipPath)."""
    d = []
    last = None
    for a, b in zip(points, points[1:]):
        seg = clip(a, b, box) if a is not None and b is not None else None
        if seg is None:
            last = None
            continue
        if last is None or abs(seg[0][0] - last[0]) > 1e-6 or abs(seg[0][1] - last[1]) > 1e-6:
            d.append('M%.1f,%.1f' % seg[0])
        d.append('L%.1f,%.1f' % seg[1])
        last = seg[1]
    return '<path fill="none" style="%s" d="%s"/>' % (style, ' '.join(d)) if d else ''


def text(x, y, size, colour, s, family='DejaVu Sans', anchor='start'):
    return ('<text x="%.1f" y="%.1f" style="font-family:%s;font-size:%dpx;fill:%s;stroke:none;'
            'text-anchor:%s">%s</text>' % (x, y, family, size, colour, anchor, esc(s)))


def esc(s):
    return s.replace('&', '&amp;').replace('<', '&lt;').replace('>', '&gt;')


def figure_svg(ox, oy, label, first, stars, d3lines):
    out = []
    abbr = label.split('.')[0]
    ref = stars[0]['ra']
    ras = [unwrap(s['ra'], ref) for s in stars]
    ra0 = (min(ras) + max(ras)) / 2
    decs = [s['dec'] for s in stars]
    dec0 = (min(decs) + max(decs)) / 2
    if len(stars) == 1:
        ra0, dec0 = ras[0], decs[0]
    pts = [tangent(r, d, ra0, dec0) for r, d in zip(ras, decs)]
    span = max([abs(x) for x, _ in pts] + [abs(y) for _, y in pts] + [5.0])
    inner = CELL - 2 * MARGIN
    size = inner - HEADER
    k = (size / 2 - 12) / span                    # pixels per degree
    cx, cy = ox + CELL / 2, oy + MARGIN + HEADER + size / 2

    def px(p):
        return None if p is None else (cx - p[0] * k, cy - p[1] * k)   # east left, north up

    out.append('<rect x="%d" y="%d" width="%d" height="%d" fill="#0b1a2b" stroke="#8899aa"/>'
               % (ox + 4, oy + 4, CELL - 8, CELL - 8))
    box = (ox + 5, oy + 5 + HEADER, ox + CELL - 5, oy + CELL - 5)
    grid = 'stroke:#2c4866;stroke-width:1'
    # graticule: every hour of RA, every 10 degrees of Dec, across the frame
    reach = span * 1.6 + 10
    dlo, dhi = max(-89.0, dec0 - reach), min(89.0, dec0 + reach)
    rspan = 180.0
    for h in range(int(math.floor((ra0 - rspan) / 15)), int(math.ceil((ra0 + rspan) / 15)) + 1):
        seg = []
        d = dlo
        while d <= dhi + 1e-9:
            seg.append(px(tangent(h * 15, d, ra0, dec0)))
            d += 1.0
        out.append(clipped_path(seg, box, grid))
    for dg in range(int(math.floor(dlo / 10)) * 10, int(dhi) + 1, 10):
        seg = []
        r = ra0 - rspan
        while r <= ra0 + rspan + 1e-9:
            seg.append(px(tangent(r, dg, ra0, dec0)))
            r += 1.0
        out.append(clipped_path(seg, box, grid))
    # the d3 figure underneath
    for line in d3lines.get(abbr, []):
        seg = [px(tangent(unwrap(r, ra0), d, ra0, dec0)) for r, d in line]
        out.append(clipped_path(seg, box, 'stroke:#5a6878;stroke-width:3'))
    # the polyline through slots 1..N
    slots = {}
    for s, p in zip(stars, pts):
        for n in decode(s['code']):
            if n:
                slots[n] = px(p)
    chain = []
    n = 1
    while n in slots:
        chain.append(slots[n])
        n += 1
    if len(chain) > 1:
        out.append(clipped_path(chain, box, 'stroke:#ff3030;stroke-width:1.5'))
    # the stars, slot numbers beside them
    for s, p in zip(stars, pts):
        x, y = px(p)
        rad = max(1.5, (6.0 - s['mag']) * 1.2)
        col = COLOURS.get(s['colour'], '#808080')
        out.append('<circle cx="%.1f" cy="%.1f" r="%.1f" fill="%s" stroke="#c0c0c0" stroke-width="0.6"/>'
                   % (x, y, rad, col))
        nums = [n for n in decode(s['code']) if n]
        tag = ','.join(str(n) for n in nums) if nums else '.'
        out.append(text(x + rad + 1.5, y - 2, 11, '#f0e060', tag))
    # label band
    out.append(text(ox + 10, oy + 22, 15, '#ffffff', label, 'IPAGothic'))
    out.append(text(ox + CELL - 10, oy + 21, 10, '#9fb0c0',
                    'rows %d-%d, %d slots' % (first, first + len(stars) - 1, len(chain)), anchor='end'))
    return out


def main():
    global CELL
    here = os.path.dirname(os.path.abspath(__file__))
    repo = os.path.dirname(here)
    ap = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    ap.add_argument('--tables', default=os.path.join(repo, 'panels', 'constellation_tables.cpp'))
    ap.add_argument('--data', default=os.path.join(repo, '..', 'shared', 'data'))
    ap.add_argument('--svg', help='also keep the SVG here (default: a temporary file)')
    ap.add_argument('--png', default=os.path.join(repo, 'docs', 'constellations.png'))
    ap.add_argument('--only', help='comma-separated abbreviations to draw (for a close look)')
    ap.add_argument('--cell', type=int, default=DEFAULT_CELL, help='frame size in pixels (default %d)' % DEFAULT_CELL)
    args = ap.parse_args()
    CELL = args.cell

    labels, rows = read_tables(args.tables)
    d3 = read_d3(os.path.join(args.data, 'figures', 'figures_hr.tsv'))
    figures = collections.OrderedDict()
    for values, number, _ in rows:
        figures.setdefault(int(values[0]), (number, []))[1].append({
            'ra': values[1] / 1000 * 360 / 24, 'dec': values[2] / 100,
            'colour': int(values[7]), 'mag': values[8] / 10, 'code': values[9]})
    chosen = list(figures.items())
    if args.only:
        want = set(args.only.split(','))
        chosen = [f for f in chosen if labels[f[0] - 1].split('.')[0] in want]

    columns = min(COLUMNS, len(chosen))
    lines_n = (len(chosen) + columns - 1) // columns
    width, height = columns * CELL, lines_n * CELL + 30
    svg = ['<?xml version="1.0" encoding="UTF-8"?>',
           '<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">'
           % (width, height, width, height),
           '<rect x="0" y="0" width="%d" height="%d" fill="#000000"/>' % (width, height)]
    for i, (number, (first, stars)) in enumerate(chosen):
        ox, oy = (i % columns) * CELL, (i // columns) * CELL
        svg += figure_svg(ox, oy, labels[number - 1], first, stars, d3)
    svg.append(text(10, height - 10, 12, '#9fb0c0',
                    'Constellation figures of Star2: red = polyline through slots 1..N (numbers beside '
                    'the stars, "." = dot only); grey = d3-celestial figure (BSD-3-Clause, (c) 2015 '
                    'Olaf Frohn); grid every 1 h / 10 deg, north up, east left.'))
    svg.append('</svg>')
    with tempfile.TemporaryDirectory() as tmp:
        path = args.svg or os.path.join(tmp, 'constellations.svg')
        with open(path, 'w', encoding='utf-8') as f:
            f.write('\n'.join(svg) + '\n')
        subprocess.run(['convert', path, '+dither', '-colors', '256', '-strip', args.png], check=True)


if __name__ == '__main__':
    main()
