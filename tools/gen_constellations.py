#!/usr/bin/env python3
"""Generate panels/constellation_tables.cpp: the constellation tables of the star chart.

Star3  the 88 constellation labels (abbreviation, full stop, name in half-width
       katakana; the compiler turns them into Shift_JIS).
Star2  528 rows x 10 columns: the stars of the 58 constellation figures
       (rows 1..356), zero rows after them.
Star1  the first Star2 row of each constellation, 0 where it has no figure.

Inputs (relative to the repository; --data overrides the data directory):
  ../shared/data/bsc5/bsc5.dat                     Bright Star Catalogue, 5th rev. ed.
  ../shared/data/figures/figures_hr.tsv            d3-celestial figures, vertices as HR numbers
  ../shared/data/figures/constellations.lines.json d3-celestial 0.7.35 figures (BSD-3-Clause)
  tools/constellation_figures.txt                  our figure design (slot order, dots)

Columns of a Star2 row, from the catalogue's record of the star:
  0 constellation number 1..88 (Star3 order)
  1 right ascension J2000, thousandths of an hour, rounded (plus 24000 where the
    design marks the star, the square of Pegasus)
  2 declination J2000, hundredths of a degree, rounded
  3 pmRA / cos(dec), mas/yr (the catalogue's pmRA is an arc of great circle)
  4 pmDE, mas/yr
  5 parallax, mas
  6 radial velocity, km/s
  7 colour class from the spectral type: B 1, A and F 7, G and K 6, M (and
    carbon stars) 3, O 5, Wolf-Rayet 2
  8 visual magnitude in tenths, rounded
  9 slot code of the star's places in the figure's polyline
Rounding is to the nearest, halves away from zero, on exact decimal values.

The 17 rows that the chart's reference values name (Orion, Sirius, two corners
of Pegasus, Sadr, the sting of Scorpius) are then set to those reference
values; the generator checks that each replaces the same star with the same
slot code, and reports on stderr by how much the catalogue's values differ.

Usage (from the repository root):
  python3 tools/gen_constellations.py [--data DIR] [--design FILE] [--out FILE]

The figures derive from d3-celestial, which carries this notice:

  Copyright (c) 2015, Olaf Frohn
  All rights reserved.

  Redistribution and use in source and binary forms, with or without modification,
  are permitted provided that the following conditions are met:

  1. Redistributions of source code must retain the above copyright notice, this
     list of conditions and the following disclaimer.

  2. Redistributions in binary form must reproduce the above copyright notice,
     this list of conditions and the following disclaimer in the documentation
     and/or other materials provided with the distribution.

  3. Neither the name of the copyright holder nor the names of its contributors
     may be used to endorse or promote products derived from this software without
     specific prior written permission.

  THIS SOFTWARE IS PROVIDED BY THE COPYRIGHT HOLDERS AND CONTRIBUTORS "AS IS" AND
  ANY EXPRESS OR IMPLIED WARRANTIES, INCLUDING, BUT NOT LIMITED TO, THE IMPLIED
  WARRANTIES OF MERCHANTABILITY AND FITNESS FOR A PARTICULAR PURPOSE ARE
  DISCLAIMED. IN NO EVENT SHALL THE COPYRIGHT HOLDER OR CONTRIBUTORS BE LIABLE FOR
  ANY DIRECT, INDIRECT, INCIDENTAL, SPECIAL, EXEMPLARY, OR CONSEQUENTIAL DAMAGES
  (INCLUDING, BUT NOT LIMITED TO, PROCUREMENT OF SUBSTITUTE GOODS OR SERVICES;
  LOSS OF USE, DATA, OR PROFITS; OR BUSINESS INTERRUPTION) HOWEVER CAUSED AND ON
  ANY THEORY OF LIABILITY, WHETHER IN CONTRACT, STRICT LIABILITY, OR TORT
  (INCLUDING NEGLIGENCE OR OTHERWISE) ARISING IN ANY WAY OUT OF THE USE OF THIS
  SOFTWARE, EVEN IF ADVISED OF THE POSSIBILITY OF SUCH DAMAGE.
"""

import argparse
import collections
import hashlib
import json
import math
import os
import sys
from decimal import Decimal, ROUND_HALF_UP
from fractions import Fraction

BSD_NOTICE = __doc__[__doc__.index("  Copyright (c) 2015"):].rstrip("\n")

# ---- fixed tables of the design

# Constellation labels, by constellation number 1..88.
STAR3 = [
    'And.ｱﾝﾄﾞﾛﾒﾀﾞ', 'Ant.ﾎﾟﾝﾌﾟ', 'Aps.ﾌｳﾁｮｳ', 'Aql.ﾜｼ', 'Aqr.ﾐｽﾞｶﾞﾒ', 'Ara.ｻｲﾀﾞﾝ',
    'Ari.ｵﾋﾂｼﾞ', 'Aur.ｷﾞｮｼｬ', 'Boo.ｳｼｶｲ', 'Cae.ﾁｮｳｺｸｸﾞ', 'Cam.ｷﾘﾝ', 'Cap.ﾔｷﾞ',
    'Car.ﾘｭｳｺﾂ', 'Cas.ｶｼｵﾍﾟｱ', 'Cen.ｹﾝﾀｳﾙｽ', 'Cep.ｹﾌｪｳｽ', 'Cet.ｸｼﾞﾗ', 'Cha.ｶﾒﾚｵﾝ',
    'Cir.ｺﾝﾊﾟｽ', 'CMa.ｵｵｲﾇ', 'CMi.ｺｲﾇ', 'Cnc.ｶﾆ', 'Col.ﾊﾄ', 'Com.ｶﾐﾉｹ',
    'CrA.ﾐﾅﾐﾉｶﾝﾑﾘ', 'CrB.ｶﾝﾑﾘ', 'Crt.ｺｯﾌﾟ', 'Cru.ﾐﾅﾐｼﾞｭｳｼﾞ', 'Crv.ｶﾗｽ', 'CVn.ﾘｮｳｹﾝ',
    'Cyg.ﾊｸﾁｮｳ', 'Del.ｲﾙｶ', 'Dor.ｶｼﾞｷ', 'Dra.ﾘｭｳ', 'Equ.ｺｳﾏ', 'Eri.ｴﾘﾀﾞﾇｽ',
    'For.ﾛ', 'Gem.ﾌﾀｺﾞ', 'Gru.ﾂﾙ', 'Her.ﾍﾙｸﾚｽ', 'Hor.ﾄｹｲ', 'Hya.ｳﾐﾍﾋﾞ',
    'Hyi.ﾐｽﾞﾍﾋﾞ', 'Ind.ｲﾝﾃﾞｱﾝ', 'Lac.ﾄｶｹﾞ', 'Leo.ｼｼ', 'Lep.ｳｻｷﾞ', 'Lib.ﾃﾝﾋﾞﾝ',
    'LMi.ｺｼﾞｼ', 'Lup.ｵｵｶﾐ', 'Lyn.ﾔﾏﾈｺ', 'Lyr.ｺﾄ', 'Men.ﾃｰﾌﾞﾙｻﾝ', 'Mic.ｹﾝﾋﾞｷｮｳ',
    'Mon.ｲｯｶｸｼﾞｭｳ', 'Mus.ﾊｴ', 'Nor.ｼﾞｮｳｷﾞ', 'Oct.ﾊﾁﾌﾞﾝｷﾞ', 'Oph.ﾍﾋﾞﾂｶｲ', 'Ori.ｵﾘｵﾝ',
    'Pav.ｸｼﾞｬｸ', 'Peg.ﾍﾟｶﾞｻｽ', 'Per.ﾍﾟﾙｾｳｽ', 'Phe.ﾎｳｵｳ', 'Pic.ｶﾞｶ', 'PsA.ﾐﾅﾐﾉｳｵ',
    'Psc.ｳｵ', 'Pup.ﾄﾓ', 'Pyx.ﾗｼﾝﾊﾞﾝ', 'Ret.ﾚｸﾁﾙ', 'Scl.ﾁｮｳｺｸｼﾂ', 'Sco.ｻｿﾘ',
    'Sct.ﾀﾃ', 'Ser.ﾍﾋﾞ', 'Sex.ﾛｸﾌﾞﾝｷﾞ', 'Sge.ﾔ', 'Sgr.ｲﾃ', 'Tau.ｵｳｼ',
    'Tel.ﾎﾞｳｴﾝｷｮｳ', 'TrA.ﾐﾅﾐﾉｻﾝｶｸ', 'Tri.ｻﾝｶｸ', 'Tuc.ｷｮｼﾁｮｳ', 'UMa.ｵｵｸﾞﾏ', 'UMi.ｺｸﾞﾏ',
    'Vel.ﾎ', 'Vir.ｵﾄﾒ', 'Vol.ﾄﾋﾞｳｵ', 'Vul.ｺｷﾞﾂﾈ',
]

# The figures in Star2 order with their row ranges (first row, last row).
FIGURE_ROWS = [
    ('And', 1, 6), ('Cas', 7, 13), ('Peg', 14, 21), ('Hyi', 22, 24), ('Phe', 25, 27),
    ('Cet', 28, 35), ('Eri', 36, 43), ('Tri', 44, 45), ('Ari', 46, 47), ('UMi', 48, 50),
    ('Per', 51, 59), ('Ret', 60, 60), ('Tau', 61, 68), ('Ori', 69, 78), ('Aur', 79, 85),
    ('Dor', 86, 87), ('Lep', 88, 91), ('Col', 92, 93), ('Gem', 94, 101), ('CMa', 102, 109),
    ('Car', 110, 120), ('Pup', 121, 128), ('CMi', 129, 130), ('Vel', 131, 136),
    ('Hya', 137, 145), ('UMa', 146, 160), ('Lyn', 161, 161), ('Leo', 162, 171),
    ('Cen', 172, 184), ('Vir', 185, 192), ('Crv', 193, 196), ('Cru', 197, 200),
    ('Mus', 201, 202), ('CVn', 203, 203), ('Boo', 204, 210), ('Lup', 211, 217),
    ('Cir', 218, 218), ('Lib', 219, 221), ('TrA', 222, 224), ('CrB', 225, 230),
    ('Her', 231, 238), ('Sco', 239, 254), ('Oph', 255, 263), ('Ser', 264, 279),
    ('Dra', 280, 291), ('Ara', 292, 295), ('Sgr', 296, 306), ('Lyr', 307, 312),
    ('Aql', 313, 319), ('Pav', 320, 322), ('Cyg', 323, 331), ('Cap', 332, 337),
    ('Cep', 338, 343), ('Ind', 344, 344), ('Aqr', 345, 349), ('Gru', 350, 353),
    ('Tuc', 354, 355), ('PsA', 356, 356),
]

# Reference rows (row number -> the 10 columns), set after generation.
REFERENCE_ROWS = {
    69:  (60, 5919, 740, 27, 7, 5, 21, 3, 8, 17),
    70:  (60, 5679, -195, 4, -2, 22, 18, 5, 21, 2),
    71:  (60, 5796, -967, 4, -2, 9, 21, 1, 20, 3),
    72:  (60, 5242, -820, 1, 0, 3, 21, 1, 1, 4),
    73:  (60, 5534, -30, 1, -1, 3, 16, 5, 22, 5),
    74:  (60, 5419, 635, -6, -14, 26, 18, 1, 16, 6),
    75:  (60, 5591, -592, 3, 4, 21, 22, 5, 28, 0),
    76:  (60, 5603, -120, 0, 0, 3, 26, 1, 17, 0),
    77:  (60, 4831, 695, 471, 18, 125, 24, 7, 32, 0),
    78:  (60, 5408, -238, 7, 4, 4, 20, 1, 34, 0),
    103: (20, 6753, -1672, -561, -1210, 375, -8, 7, -15, 2),
    17:  (62, 24221, 1518, -1, -10, 7, 4, 1, 28, 4),
    18:  (62, 24140, 2908, 153, -161, 24, -12, 1, 20, 5),
    325: (31, 20370, 4025, 1, 0, 6, -8, 7, 22, 30509),
    251: (72, 17708, -3903, -17, -28, 9, -10, 1, 24, 1416),
    252: (72, 17831, -3705, 71, 28, 32, 25, 6, 32, 1500),
    253: (72, 17560, -3710, -1, -31, 12, 0, 1, 16, 1700),
}

STAR2_ROWS = 528
MAX_SLOT = 17          # slots used by the figures (the chart allows up to 21)
COLOUR_BY_TYPE = {'O': 5, 'B': 1, 'A': 7, 'F': 7, 'G': 6, 'K': 6, 'M': 3,
                  'W': 2, 'C': 3, 'S': 3, 'N': 3, 'R': 3}


def fail(msg):
    sys.exit('gen_constellations: ' + msg)


def sha256(path):
    with open(path, 'rb') as f:
        return hashlib.sha256(f.read()).hexdigest()


def round_half_away(x):
    """Nearest integer of an exact value (Fraction or Decimal), halves away from zero."""
    d = Decimal(x.numerator) / Decimal(x.denominator) if isinstance(x, Fraction) else Decimal(x)
    return int(d.quantize(Decimal(1), rounding=ROUND_HALF_UP))


# ---- the Bright Star Catalogue

def read_bsc(path):
    """HR number -> dict of the fields the tables use (stars only)."""
    stars = {}
    with open(path, encoding='ascii') as f:
        for line in f:
            rec = line.rstrip('\n').ljust(197)
            hr = int(rec[0:4])
            if not rec[75:77].strip():
                continue  # one of the 14 non-stellar records
            ra_s = Fraction(Decimal(rec[79:83]))
            ra_units = (int(rec[75:77]) * 3600 + int(rec[77:79]) * 60 + ra_s) / Fraction(36, 10)
            dec_abs = int(rec[84:86]) * 3600 + int(rec[86:88]) * 60 + int(rec[88:90])
            sign = -1 if rec[83] == '-' else 1
            dec_units = sign * Fraction(dec_abs, 36)           # hundredths of a degree
            dec_deg = sign * dec_abs / 3600.0

            def num(a, b):
                s = rec[a:b].strip()
                return Decimal(s) if s else Decimal(0)

            stars[hr] = {
                'name': ' '.join(rec[4:14].split()) or ('HR%d' % hr),
                'ra_units': ra_units,                            # thousandths of an hour
                'dec_units': dec_units,
                'dec_deg': dec_deg,
                'vmag': num(102, 107),
                'sptype': rec[127:147].strip(),
                'pmra': num(148, 154),
                'pmde': num(154, 160),
                'plx': num(161, 166),
                'rv': int(rec[166:170]) if rec[166:170].strip() else 0,
            }
    return stars


def colour_class(sptype, hr):
    for ch in sptype:
        if ch.isupper():
            if ch in COLOUR_BY_TYPE:
                return COLOUR_BY_TYPE[ch]
            break
    fail('HR %d: no colour class for spectral type %r' % (hr, sptype))


# ---- the d3 figures (the design's starting point)

def read_d3(tsv_path, json_path):
    """Abbreviation -> set of HR numbers of the d3 figure; checks the two files agree."""
    figs = collections.defaultdict(set)
    vertices = collections.Counter()
    with open(tsv_path, encoding='utf-8') as f:
        for line in f:
            if line.startswith('#') or not line.strip():
                continue
            cols = line.rstrip('\n').split('\t')
            figs[cols[0]].add(int(cols[5]))
            vertices[cols[0]] += 1
    with open(json_path, encoding='utf-8') as f:
        features = json.load(f)['features']
    in_json = collections.Counter()
    for feat in features:
        for line in feat['geometry']['coordinates']:
            in_json[feat['id']] += len(line)
    if in_json != vertices:
        fail('figures_hr.tsv does not match constellations.lines.json')
    return figs


# ---- slot codes

def encode_slots(slots):
    """Pack one star's slot numbers (ascending) into a slot code."""
    if not slots:
        return 0
    if len(slots) == 1:
        s = slots[0]
        return s if s < 14 else 100 * s                    # 15 alone is 1500
    if len(slots) == 2:
        a, b = slots
        if b < 10:
            return 10 * a + b if 10 * a + b >= 14 else 10 * b + a   # 17, 37; 21, 31
        if a < 10:
            return 10 * b + a                              # 101, 124
        return 100 * a + b                                 # 1416
    if len(slots) == 3:
        a, b, c = slots
        return 10000 * a + 100 * b + c                     # 30509
    fail('a star holds more than three slots: %r' % (slots,))


def decode_slots(code):
    """The chart's decoding (each division truncated), to check the packing."""
    if code < 14:
        return [code]
    if code < 999:
        a = code // 10
        return [a, code - 10 * a]
    if code < 9999:
        a = code // 100
        return [a, code - 100 * a]
    if code > 9999:
        a = code // 10000
        b = (code - 10000 * a) // 100
        return [a, b, code - 100 * b - 10000 * a]
    return []


# ---- the design

def read_design(path):
    figures = []
    with open(path, encoding='utf-8') as f:
        for n, line in enumerate(f, 1):
            text = line.split('#', 1)[0].strip()
            if not text:
                continue
            head, _, dots = text.partition('|')
            fields = head.split()
            abbr, rows, path_tokens = fields[0], int(fields[1]), fields[2:]

            def parse(tok):
                return int(tok.rstrip('*')), tok.endswith('*')
            figures.append({
                'abbr': abbr, 'rows': rows, 'line': n,
                'path': [parse(t) for t in path_tokens],
                'dots': [parse(t) for t in dots.split()],
            })
    return figures


def build_rows(figures, stars, d3):
    numbers = {label.split('.')[0]: i + 1 for i, label in enumerate(STAR3)}
    if [f['abbr'] for f in figures] != [abbr for abbr, _, _ in FIGURE_ROWS]:
        fail('the design must list the %d figures in Star2 order' % len(FIGURE_ROWS))
    rows, notes = [], []
    for fig, (abbr, first, last) in zip(figures, FIGURE_ROWS):
        if fig['rows'] != last - first + 1:
            fail('%s: %d rows in the design, %d in the table' % (abbr, fig['rows'], last - first + 1))
        order, slots, wrap = [], collections.defaultdict(list), {}
        for slot, (hr, plus24) in enumerate(fig['path'], 1):
            if hr not in slots:
                order.append(hr)
            slots[hr].append(slot)
            wrap[hr] = wrap.get(hr, False) or plus24
        for hr, plus24 in fig['dots']:
            if hr in slots:
                fail('%s: HR %d is both on the line and a dot' % (abbr, hr))
            order.append(hr)
            slots[hr] = []
            wrap[hr] = plus24
        if len(order) != fig['rows']:
            fail('%s: %d distinct stars for %d rows' % (abbr, len(order), fig['rows']))
        if len(fig['path']) > MAX_SLOT or not fig['path']:
            fail('%s: %d slots' % (abbr, len(fig['path'])))
        for hr in order:
            if hr not in stars:
                fail('%s: HR %d is not a star of the catalogue' % (abbr, hr))
            st = stars[hr]
            code = encode_slots(slots[hr])
            if sorted(s for s in decode_slots(code) if s) != slots[hr]:
                fail('%s: HR %d slots %r do not survive the packing' % (abbr, hr, slots[hr]))
            ra = round_half_away(st['ra_units']) + (24000 if wrap[hr] else 0)
            pmra = st['pmra'] * 1000 / Decimal(repr(math.cos(math.radians(st['dec_deg']))))
            rows.append({
                'values': [numbers[abbr], ra, round_half_away(st['dec_units']),
                           round_half_away(pmra), round_half_away(st['pmde'] * 1000),
                           round_half_away(st['plx'] * 1000), st['rv'],
                           colour_class(st['sptype'], hr), round_half_away(st['vmag'] * 10),
                           code],
                'comment': '%s HR %d %s%s' % (abbr, hr, st['name'],
                                             '' if hr in d3[abbr] else ' (added)'),
            })
        extra = [hr for hr in order if hr not in d3[abbr]]
        if extra:
            notes.append('%s: not in the d3 figure: %s' % (abbr, ' '.join('HR%d' % h for h in extra)))
        if len(rows) != last:
            fail('%s ends at row %d, not %d' % (abbr, len(rows), last))
    return rows, notes


def apply_reference_rows(rows, log):
    for r in sorted(REFERENCE_ROWS):
        want = list(REFERENCE_ROWS[r])
        got = rows[r - 1]['values']
        if got[0] != want[0] or got[9] != want[9] or abs(got[1] - want[1]) > 3 or abs(got[2] - want[2]) > 3:
            fail('row %d (%s) is %r, the reference row is %r' % (r, rows[r - 1]['comment'], got, want))
        diff = ['col %d %d->%d' % (i, got[i], want[i]) for i in range(10) if got[i] != want[i]]
        log.append('row %d %s: %s' % (r, rows[r - 1]['comment'], ', '.join(diff) or 'same'))
        rows[r - 1]['values'] = want


def write_table(out, rows, sources, design_rel):
    star1 = [0] * len(STAR3)
    for i, row in enumerate(rows, 1):
        c = row['values'][0] - 1
        if star1[c] == 0:
            star1[c] = i
    src = ', '.join('%s (sha256 %s)' % s for s in sources[:-1])
    lines = [
        '// Generated by tools/gen_constellations.py from %s and %s (sha256 %s). Do not edit.'
        % (src, design_rel, sources[-1][1]),
        '// Command (from the repository root): python3 tools/gen_constellations.py',
        '//',
        '// Star2 rows: the figure stars of tools/constellation_figures.txt with their',
        '// Bright Star Catalogue (5th rev. ed.) J2000 data; the reference rows 17, 18,',
        '// 69-78, 103, 251-253 and 325 carry the chart\'s reference values. The',
        '// figures derive from the d3-celestial 0.7.35 stick figures, which carry',
        '// this notice:',
        '//',
    ]
    lines += [('// ' + l[2:]).rstrip() for l in BSD_NOTICE.split('\n')]
    lines += [
        '',
        '#include "panels/constellations.h"',
        '',
        '// Constellation labels by constellation number 1..88 (Shift_JIS at run time).',
        'const char* const Star3[kConstellations] = {',
    ]
    for i, label in enumerate(STAR3):
        lines.append('    "%s",  // %d' % (label, i + 1))
    lines += ['};', '', '// First Star2 row (from 1) of each constellation\'s figure, 0 = none.',
              'const int32_t Star1[kConstellations] = {']
    for i, first in enumerate(star1):
        lines.append('    %d,  // %d %s' % (first, i + 1, STAR3[i].split('.')[0]))
    lines += ['};', '',
              '// Figure stars: constellation, RA (0.001 h), Dec (0.01 deg), pmRA/cos(dec),',
              '// pmDE (mas/yr), parallax (mas), RV (km/s), colour class, V (0.1 mag), slot code.',
              '// Rows %d to %d are zero.' % (len(rows) + 1, STAR2_ROWS),
              'const double Star2[kStar2Rows][kStar2Columns] = {']
    for i, row in enumerate(rows, 1):
        lines.append('    {%s},  // %d %s' % (', '.join(str(v) for v in row['values']), i, row['comment']))
    lines += ['};', '']
    with open(out, 'w', encoding='utf-8', newline='\n') as f:
        f.write('\n'.join(lines))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    repo = os.path.dirname(here)
    ap = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    ap.add_argument('--data', default=os.path.join(repo, '..', 'shared', 'data'))
    ap.add_argument('--design', default=os.path.join(here, 'constellation_figures.txt'))
    ap.add_argument('--out', default=os.path.join(repo, 'panels', 'constellation_tables.cpp'))
    args = ap.parse_args()

    bsc = os.path.join(args.data, 'bsc5', 'bsc5.dat')
    tsv = os.path.join(args.data, 'figures', 'figures_hr.tsv')
    js = os.path.join(args.data, 'figures', 'constellations.lines.json')
    sources = [('../shared/data/bsc5/bsc5.dat', sha256(bsc)),
               ('../shared/data/figures/figures_hr.tsv', sha256(tsv)),
               ('../shared/data/figures/constellations.lines.json', sha256(js)),
               ('tools/constellation_figures.txt', sha256(args.design))]

    stars = read_bsc(bsc)
    d3 = read_d3(tsv, js)
    rows, notes = build_rows(read_design(args.design), stars, d3)
    log = []
    apply_reference_rows(rows, log)
    write_table(args.out, rows, sources, 'tools/constellation_figures.txt')

    counts = collections.Counter(r['values'][7] for r in rows)
    report = ['%d rows; colour classes %s' % (
        len(rows), ', '.join('%d: %d' % (k, counts[k]) for k in sorted(counts)))]
    report += notes + ['reference ' + l for l in log]
    if os.environ.get('GEN_VERBOSE'):
        sys.stderr.write('\n'.join(report) + '\n')
    else:
        sys.stderr.write(report[0] + '\n')


if __name__ == '__main__':
    main()
