#!/usr/bin/python3
"""The window's shell driven as a user would, read back through AT-SPI:
the drawing area's accessible name and description, the context menu and
what each of its items does, F1 and the menu keys, the widget mode's hints,
time travel with its bar and title, the tooltips over the Moon at several
window sizes and at GDK_SCALE=2. Runs under Xvfb ($DISPLAY) inside
dbus-run-session (the accessibility bus is started on demand).

Usage: window_shell.py PROG WORK HERE
"""
import json
import os
import re
import subprocess
import sys
import time

import pyatspi

prog, work, here = sys.argv[1:4]
sys.path.insert(0, here)
import pngpix  # noqa: E402

AT = "2026-12-06 06:00:00"
failures = []


def fail(message):
    print("FAIL: " + message, flush=True)
    failures.append(message)


def run(*args):
    return subprocess.run(args, capture_output=True, text=True).stdout


def wait_for(what, probe, timeout=8.0):
    """probe() until it gives something true, or None after timeout."""
    end = time.time() + timeout
    while time.time() < end:
        try:
            value = probe()
        except Exception:  # an accessible that went away while walking
            value = None
        if value:
            return value
        time.sleep(0.1)
    return None


class App:
    def __init__(self, *args, env=None):
        self.log = os.path.join(work, "app%d.log" % int(time.time() * 1000))
        e = dict(os.environ)
        e.update(env or {})
        self.proc = subprocess.Popen([prog, *args], stdout=open(self.log, "w"),
                                     stderr=subprocess.STDOUT, env=e)
        self.wid = wait_for("window", lambda: run("xdotool", "search", "--onlyvisible", "--pid",
                                                  str(self.proc.pid)).split()[:1])
        if not self.wid:
            raise SystemExit("FAIL: no window; " + open(self.log).read())
        self.wid = self.wid[0]
        time.sleep(1.0)

    def stop(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            self.proc.wait(10)

    def output(self):
        return open(self.log).read()

    def accessible(self):
        for app in pyatspi.Registry.getDesktop(0):
            try:
                if app and app.get_process_id() == self.proc.pid:
                    return app
            except Exception:
                pass
        return None

    def find(self, pred, root=None):
        root = root or self.accessible()
        if root is None:
            return None
        return pyatspi.findDescendant(root, pred, breadth_first=True)

    def picture(self):
        return self.find(lambda o: o.getRoleName() == "image" and o.name == "天窓")

    def description(self):
        p = self.picture()
        return p.description if p else ""

    def title(self):
        v = run("xprop", "-id", self.wid, "-notype", "_NET_WM_NAME")
        m = re.search(r'"(.*)"', v)
        if not m:
            return ""
        if not re.search(r"\\\d{3}", m.group(1)):
            return m.group(1)
        # UTF-8 bytes as octal escapes outside a UTF-8 locale
        raw = re.sub(r"\\(\d{3})", lambda e: chr(int(e.group(1), 8)), m.group(1))
        return raw.encode("latin-1", "replace").decode("utf-8", "replace")

    def size(self):
        v = run("xwininfo", "-id", self.wid)
        return (int(re.search(r"Width: (\d+)", v).group(1)),
                int(re.search(r"Height: (\d+)", v).group(1)))

    def key(self, *keys):
        run("xdotool", "windowfocus", "--sync", self.wid)
        run("xdotool", "key", *keys)
        time.sleep(0.4)

    def menu(self):
        """The context menu, when it is on the screen."""
        return self.find(lambda o: o.getRoleName() == "menu" and not o.name
                         and o.getState().contains(pyatspi.STATE_SHOWING))

    def open_menu(self):
        run("xdotool", "mousemove", "--window", self.wid, "300", "60", "click", "3")
        return wait_for("menu", self.menu, 4)

    def choose(self, *names):
        """Right-click, then the item (through a submenu when two names)."""
        menu = self.open_menu()
        if not menu:
            fail("right-click opened no menu")
            return
        item = None
        for name in names:
            item = wait_for(name, lambda: self.find(lambda o: o.name == name, menu), 3)
            if not item:
                fail("no menu item %r" % name)
                return
            if name != names[-1]:
                item.queryAction().doAction(0)  # open the submenu
                time.sleep(0.3)
        item.queryAction().doAction(0)
        time.sleep(0.6)


def close_windows(name):
    """Close every visible window whose title holds name (case-insensitive)."""
    for w in run("xdotool", "search", "--onlyvisible", "--name", name).split():
        run("xdotool", "windowclose", w)


def hours_minutes(h):
    return "%d時%d分" % (int(h), int((h - int(h)) * 60))


# ---- the accessible picture, the menu and its actions
almanac = json.loads(run(prog, "--almanac", "--json", "--at", AT))
sunrise = "日の出 " + hours_minutes(almanac["sunrise"])
app = App("--at", AT)
d = wait_for("description", lambda: app.description())
if app.picture() is None:
    fail("no accessible image named 天窓")
elif sunrise not in (d or ""):
    fail("the description does not say %r: %r" % (sunrise, d))
if not (d or "").startswith("日時 2026年12月6日 6時"):
    fail("the description's date and time: %r" % d)

menu = app.open_menu()
expected = ["Preferences…", "Now", "Turn view", "Widget mode", "Keyboard shortcuts",
            "About tenmado", "Quit"]
names = [c.name for c in menu if c.name] if menu else []  # not the separators
if names != expected:
    fail("menu items %r, not %r" % (names, expected))
app.key("Escape")

app.choose("Turn view", "North")
if not wait_for("north", lambda: "方位角 180度 (北)" in app.description(), 4):
    fail("Turn view > North: %r" % app.description())
app.choose("Turn view", "Reset")
if not wait_for("reset", lambda: "方位角 0度 (南)" in app.description(), 4):
    fail("Turn view > Reset: %r" % app.description())

app.choose("Widget mode")
state = run("xprop", "-id", app.wid, "_NET_WM_STATE")
if "_NET_WM_STATE_BELOW" not in state or "_NET_WM_STATE_STICKY" not in state:
    fail("Widget mode: the window is not below and sticky: " + state)
if "_NET_WM_STATE_SKIP_TASKBAR" not in state:
    fail("Widget mode: the window is in the task bar: " + state)
app.key("ctrl+shift+d")
time.sleep(0.5)
state = run("xprop", "-id", app.wid, "_NET_WM_STATE")
if "_NET_WM_STATE_BELOW" in state:
    fail("Widget mode off: still below: " + state)

app.choose("Keyboard shortcuts")
if not wait_for("shortcuts", lambda: run("xdotool", "search", "--onlyvisible", "--name",
                                          "keyboard shortcuts").split(), 4):
    fail("Keyboard shortcuts: no shortcuts window")
close_windows("keyboard shortcuts")

app.choose("About tenmado")
about = wait_for("about", lambda: app.find(lambda o: o.getRoleName() in ("dialog", "frame")
                                           and "About" in (o.name or "")), 4)
if not about:
    fail("About: no dialog")
elif not app.find(lambda o: (o.name or "").strip() == "0.2.0"
                  or "0.2.0" in (o.name or ""), about):
    fail("About: no version")
close_windows("About tenmado")

app.choose("Preferences…")
if not wait_for("preferences", lambda: app.find(lambda o: o.getRoleName() in ("dialog", "frame")
                                                and "Preferences" in (o.name or "")), 4):
    fail("Preferences: no Preferences window")
close_windows("preferences")

# ---- the keys: F1, the menu keys, time travel
app.key("F1")
if not wait_for("F1", lambda: run("xdotool", "search", "--onlyvisible", "--name",
                                   "keyboard shortcuts").split(), 4):
    fail("F1: no shortcuts window")
close_windows("keyboard shortcuts")
time.sleep(0.3)
for keys in (["shift+F10"], ["Menu"], ["F10"]):
    app.key(*keys)
    if not wait_for("menu", app.menu, 3):
        fail("%s: no menu" % keys[0])
    app.key("Escape")
    time.sleep(0.3)

base = app.size()
app.key("Page_Up")
if not wait_for("hour back", lambda: app.description().startswith("日時 2026年12月6日 5時"), 4):
    fail("PgUp: the date line is not an hour back: %r" % app.description())
if "not live" not in app.title():
    fail("PgUp: the title does not say the picture is not live: %r" % app.title())
w, h = app.size()
if w != base[0] or not base[1] + 10 <= h <= base[1] + 60:
    fail("PgUp: no bar below the picture (window %dx%d, was %dx%d)" % (w, h, *base))
bar = app.find(lambda o: o.getRoleName() == "label" and "Not live" in (o.name or ""))
if not bar or not bar.getState().contains(pyatspi.STATE_SHOWING):
    fail("PgUp: the bar does not say that the picture is not live")
app.key("ctrl+Right")
if not wait_for("day", lambda: app.description().startswith("日時 2026年12月7日 5時"), 4):
    fail("Ctrl+Right: not a day ahead: %r" % app.description())
app.key("ctrl+Next")
# 29.53 days on from 2026-12-07 05:0x: 2027-01-05 17:4x
if not wait_for("month", lambda: app.description().startswith("日時 2027年1月5日 17時4"), 4):
    fail("Ctrl+PgDn: not a lunar month ahead: %r" % app.description())
app.key("n")
if not wait_for("now", lambda: "2026年12月6日 6時" not in app.description()
                and "2027年1月5日" not in app.description(), 4):
    fail("N: not back to now: %r" % app.description())
if app.title() != "天窓":
    fail("N: the title is %r, not 天窓" % app.title())
if not wait_for("size", lambda: app.size() == base, 3):
    fail("N: the bar is still there (window %dx%d)" % app.size())
app.key("End")  # already live: nothing changes
if app.title() != "天窓":
    fail("End when live: the title is %r" % app.title())

app.choose("Quit")
try:
    status = app.proc.wait(10)
    if status != 0:
        fail("Quit: exit status %d" % status)
except subprocess.TimeoutExpired:
    fail("Quit: the program runs on")
app.stop()


# ---- tooltips over the Moon's disc
def picture_point(window_w, window_h, factor, x, y):
    """Picture pixels to the window's device pixels, as the window places
    the picture (scale from the window's size, centred across)."""
    scale = min(window_w / 530, window_h / 257) * factor
    width = 530 if scale == 1 else int(530 * scale + 0.5)
    left = (window_w * factor - width) // 2
    return int(left + x * scale), int(y * scale)


def tooltip_at(app, x, y):
    run("xdotool", "mousemove", "--window", app.wid, str(x - 5), str(y - 5))
    time.sleep(0.2)
    run("xdotool", "mousemove", "--window", app.wid, str(x), str(y))
    return wait_for("tooltip", lambda: [line for line in app.output().splitlines()
                                        if line.startswith("tenmado: tooltip:")][-1:], 4)


tip_env = {"TENMADO_TEST_TOOLTIPS": "1"}
for size, env in (((530, 257), {}), ((1060, 514), {}), ((1200, 300), {}),
                  ((1060, 514), {"GDK_SCALE": "2"})):
    env = dict(tip_env, **env)
    app = App("--at", AT, env=env)
    factor = int(env.get("GDK_SCALE", "1"))
    if not env.get("GDK_SCALE"):
        run("xdotool", "windowsize", app.wid, str(size[0]), str(size[1]))
        wait_for("size", lambda: app.size() == size, 4)
        time.sleep(0.8)
    x, y = picture_point(size[0] // factor, size[1] // factor, factor, 50, 115)
    tip = tooltip_at(app, x, y)
    label = "window %dx%d%s" % (size[0], size[1], " GDK_SCALE=2" if factor == 2 else "")
    if not tip or "月 Moon" not in tip[0]:
        fail("%s: the tooltip over the Moon's disc at (%d, %d): %r" % (label, x, y, tip))
    # beside the disc, over the read-out of the sunrise: its meaning
    x, y = picture_point(size[0] // factor, size[1] // factor, factor, 40, 20)
    tip = tooltip_at(app, x, y)
    if not tip or "日の出: sunrise" not in tip[0]:
        fail("%s: the tooltip over 日の出: %r" % (label, tip))
    app.stop()

# the Moon in the sky (yellow, 8 pixels across) where the snapshot shows it
snapshot = os.path.join(work, "moon.png")
subprocess.run([prog, "--snapshot", snapshot, "--at", AT], check=True)
_, _, pix = pngpix.read_png(snapshot)
# (a disc: 7 x 7 pixels all yellow; the yellow star dots are smaller)
hits = [(x + 3, y + 3) for y in range(20, 225) for x in range(110, 405)
        if all(pix(x + i, y + j) == (255, 255, 0) for i in range(7) for j in range(7))]
spot = (sum(h[0] for h in hits) // len(hits), sum(h[1] for h in hits) // len(hits)) if hits else None
if not spot:
    fail("no Moon in the sky of the snapshot at " + AT)
else:
    app = App("--at", AT, env=tip_env)
    tip = tooltip_at(app, *spot)
    if not tip or "月 Moon" not in tip[0] or "altitude" not in tip[0]:
        fail("the tooltip over the Moon in the sky at %s: %r" % (spot, tip))
    app.stop()

if failures:
    print("%d failure(s)" % len(failures))
    sys.exit(1)
print("window_shell: all checks passed")
