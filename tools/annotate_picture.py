#!/usr/bin/env python3
"""Draw docs/picture-key.png: a real snapshot of the dashboard at scale 2,
with arrows and English labels that say what each part of the picture is.

The program paints the snapshot of a fixed instant (2026-12-06 08:00:00 in
Tokyo, when the Sun, the Moon, Mercury, Venus, Mars and Jupiter stand above the
horizon); the labels and arrows are an SVG drawn over it, which rsvg-convert
turns into the PNG. Nothing depends on the time of day the tool runs, so the
same program and fonts give the same picture.

Every arrow points at a place of the snapshot whose colour it names (a body's
disc, a grid line, a figure line): the tool checks that colour near the arrow's
tip and stops with a message when the picture has moved, rather than write
a key that points beside the things it names.

Usage (from the repository root, after building):
  python3 tools/annotate_picture.py [--program build/tenmado] [--out docs/picture-key.png]

Needs rsvg-convert (Debian package librsvg2-bin) and the IPAGothic font
(fonts-ipafont-gothic), both of which the build already installs.
"""
import argparse
import base64
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "scripts"))
import pngpix  # noqa: E402  (the project's PNG reader, standard library only)

INSTANT = "2026-12-06 08:00:00"
ZOOM = 2                   # the snapshot painted at twice its size (--scale)
PIC_X, PIC_Y = 380, 130     # where it stands on the canvas
WIDTH, HEIGHT = 1840, 870  # canvas
FONT = "IPAGothic"
ARROW = "#b00020"
SEARCH = 3                 # pixels around a tip where the named colour must be

BLACK, BLUE, RED = "#000000", "#0000ff", "#ff0000"

# (label lines, tip in snapshot pixels, colour expected near the tip or None,
#  side: "left", "right", "top" or "bottom", label anchor on the canvas)
LABELS = [
    # top band
    (["Date and time (日時)"], (92, 8), BLACK, "top", (330, 86)),
    (["Julian day, UT (ユリウス通日)"], (330, 7), BLACK, "top", (1030, 86)),
    (["Zenith: straight overhead"], (250, 50), BLACK, "top", (680, 86)),
    # left column
    (["Sunrise, sunset (日の出, 日の入)", "moonrise, moonset (月の出, 月の入)"],
     (47, 37), BLACK, "left", (360, 184)),
    (["The Moon's phase:", "its lit part yellow"], (48, 115), None, "left", (360, 284)),
    (["Constellation label:", "abbreviation and name (Her.ﾍﾙｸﾚｽ)"], (112, 150), BLACK, "left", (360, 369)),
    (["Altitude-azimuth grid (black):", "altitude and azimuth every 10°"], (89, 150), BLACK, "left", (360, 454)),
    (["Constellation figure (red lines)"], (99, 160), RED, "left", (360, 524)),
    (["The Moon's age in days (月齢)"], (40, 176), BLACK, "left", (360, 579)),
    (["Equatorial grid (blue): hour and", "declination circles every 10°"], (108, 201), BLUE, "left", (360, 644)),
    (["East (東)"], (57, 238), RED, "left", (360, 714)),
    (["The horizon"], (120, 230), BLACK, "left", (360, 774)),
    # bottom band
    (["The Sun (太陽, red disc)"], (146, 207), RED, "bottom", (560, 824)),
    (["Mercury (水星, magenta)"], (166, 183), "#ff00ff", "bottom", (820, 824)),
    (["South (南): the middle of the view"], (257, 238), RED, "bottom", (1150, 824)),
    # right column
    (["Local time (時刻), east", "longitude (東経), north", "latitude (北緯), azimuth of",
      "the view (方位角, 0 = south)"], (440, 27), BLACK, "right", (1470, 184)),
    (["Venus (金星, white)"], (218, 150), "#ffffff", "right", (1470, 279)),
    (["Analog clock: hour hand red,", "minute green, second blue"], (460, 115), None, "right", (1470, 339)),
    (["Mars (火星, blue)"], (347, 127), BLUE, "right", (1470, 384)),
    (["Jupiter (木星, green)"], (363, 133), "#00ff00", "right", (1470, 434)),
    (["The Moon (月, yellow disc)"], (207, 171), "#ffff00", "right", (1470, 494)),
    (["Tides of Tokyo Bay", "(東京湾潮汐): 満 high", "water, 干 low water"], (470, 196), BLACK, "right", (1470, 614)),
    (["West (西)"], (442, 238), RED, "right", (1470, 714)),
]
LEGEND = ("Bodies within 90° of the view are drawn, below the horizon too; those behind "
          "the viewer are not: here Saturn (土星, black). Each name is beside its disc in its colour.")
TITLE = "How to read the picture (Tokyo, " + INSTANT + ")"


def hex_colour(rgb):
    return "#%02x%02x%02x" % rgb


def check_tips(png):
    """Each arrow's tip lies within SEARCH pixels of the colour its label names."""
    w, h, rgb = pngpix.read_png(png)
    problems = []
    for lines, (x, y), colour, _, _ in LABELS:
        if colour is None:
            continue
        # tips are in the picture's pixels, the snapshot ZOOM times as large
        r = SEARCH * ZOOM
        found = any(hex_colour(rgb(x * ZOOM + dx, y * ZOOM + dy)) == colour
                    for dy in range(-r, r + 1) for dx in range(-r, r + 1)
                    if 0 <= x * ZOOM + dx < w and 0 <= y * ZOOM + dy < h)
        if not found:
            problems.append("%s: no %s near (%d, %d)" % (lines[0], colour, x, y))
    return problems


def escape(text):
    return text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")


def svg(png):
    with open(png, "rb") as f:
        data = base64.b64encode(f.read()).decode("ascii")
    w, h, _ = pngpix.read_png(png)
    out = [
        '<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" '
        'width="%d" height="%d">' % (WIDTH, HEIGHT),
        '<defs><marker id="head" viewBox="0 0 10 10" refX="9" refY="5" markerWidth="7" '
        'markerHeight="7" orient="auto"><path d="M0,0 L10,5 L0,10 z" fill="%s"/></marker></defs>' % ARROW,
        '<rect width="100%" height="100%" fill="#ffffff"/>',
        '<image x="%d" y="%d" width="%d" height="%d" '
        'preserveAspectRatio="none" xlink:href="data:image/png;base64,%s"/>'
        % (PIC_X, PIC_Y, w, h, data),
        '<rect x="%d" y="%d" width="%d" height="%d" fill="none" stroke="#555555"/>'
        % (PIC_X - 1, PIC_Y - 1, w + 2, h + 2),
    ]
    text = 'font-family="%s" font-size="19" fill="#111111"' % FONT
    for lines, (x, y), _, side, (lx, ly) in LABELS:
        tx, ty = PIC_X + x * ZOOM, PIC_Y + y * ZOOM
        anchor = {"left": "end", "right": "start"}.get(side, "middle")
        step = 23
        if side == "top":
            first, start = ly - step * (len(lines) - 1), (lx, ly + 8)
        elif side == "bottom":
            first, start = ly, (lx, ly - 20)
        else:
            first = ly - step * (len(lines) - 1) / 2 + 6
            start = (lx + (8 if side == "left" else -8), ly)
        for i, line in enumerate(lines):
            out.append('<text x="%d" y="%d" text-anchor="%s" %s>%s</text>'
                       % (lx, first + i * step, anchor, text, escape(line)))
        # a white halo under the arrow keeps it visible over the picture
        for stroke, width, marker in (("#ffffff", 5, ""), (ARROW, 2, ' marker-end="url(#head)"')):
            out.append('<line x1="%d" y1="%d" x2="%d" y2="%d" stroke="%s" stroke-width="%d"%s/>'
                       % (start[0], start[1], tx, ty, stroke, width, marker))
    out.append('<text x="%d" y="40" font-family="%s" font-size="26" font-weight="bold" '
               'fill="#111111">%s</text>' % (20, FONT, escape(TITLE)))
    out.append('<text x="%d" y="%d" text-anchor="middle" %s>%s</text>'
               % (WIDTH // 2, HEIGHT - 12, text, escape(LEGEND)))
    out.append("</svg>")
    return "\n".join(out)


def main():
    root = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--program", default=os.path.join(root, "build", "tenmado"))
    ap.add_argument("--out", default=os.path.join(root, "docs", "picture-key.png"))
    args = ap.parse_args()
    with tempfile.TemporaryDirectory() as tmp:
        snap = os.path.join(tmp, "snapshot.png")
        subprocess.run([args.program, "--snapshot", snap, "--scale", str(ZOOM), "--at", INSTANT],
                       check=True)
        problems = check_tips(snap)
        if problems:
            sys.exit("annotate_picture: the picture has moved:\n  " + "\n  ".join(problems))
        drawing = os.path.join(tmp, "key.svg")
        with open(drawing, "w", encoding="utf-8") as f:
            f.write(svg(snap))
        subprocess.run(["rsvg-convert", "--format", "png", "--output", args.out, drawing], check=True)
    print("wrote", args.out)


if __name__ == "__main__":
    main()
