#!/usr/bin/python3
"""Reminders on a session bus of their own: a stand-in notification server
(org.freedesktop.Notifications and org.gtk.Notifications) counts what the
program sends while its clock runs over the sunrise (TENMADO_TEST_TICK_MS:
a second of the clock a tick). Runs under Xvfb inside dbus-run-session.

Usage: window_reminders.py PROG WORK
"""
import json
import os
import subprocess
import sys
import threading
import time

import pyatspi
from gi.repository import Gio, GLib

prog, work = sys.argv[1:3]
failures = []


def fail(message):
    print("FAIL: " + message, flush=True)
    failures.append(message)


# ---- the stand-in server, on a thread of its own
XML = """<node>
<interface name="org.freedesktop.Notifications">
 <method name="Notify"><arg type="s" direction="in"/><arg type="u" direction="in"/>
  <arg type="s" direction="in"/><arg type="s" direction="in"/><arg type="s" direction="in"/>
  <arg type="as" direction="in"/><arg type="a{sv}" direction="in"/><arg type="i" direction="in"/>
  <arg type="u" direction="out"/></method>
 <method name="GetCapabilities"><arg type="as" direction="out"/></method>
 <method name="GetServerInformation"><arg type="s" direction="out"/><arg type="s" direction="out"/>
  <arg type="s" direction="out"/><arg type="s" direction="out"/></method>
 <method name="CloseNotification"><arg type="u" direction="in"/></method>
</interface>
<interface name="org.gtk.Notifications">
 <method name="AddNotification"><arg type="s" direction="in"/><arg type="s" direction="in"/>
  <arg type="a{sv}" direction="in"/></method>
 <method name="RemoveNotification"><arg type="s" direction="in"/><arg type="s" direction="in"/></method>
</interface>
</node>"""
received = []  # (summary, body) of each notification
lock = threading.Lock()


def on_call(conn, sender, path, iface, method, params, invocation):
    p = params.unpack()
    if method == "Notify":
        with lock:
            received.append((p[3], p[4]))
        invocation.return_value(GLib.Variant("(u)", (len(received),)))
    elif method == "AddNotification":
        with lock:
            received.append((p[2].get("title", ""), p[2].get("body", "")))
        invocation.return_value(None)
    elif method == "GetCapabilities":
        invocation.return_value(GLib.Variant("(as)", (["body"],)))
    elif method == "GetServerInformation":
        invocation.return_value(GLib.Variant("(ssss)", ("stand-in", "tenmado", "1", "1.2")))
    else:
        invocation.return_value(None)


def serve():
    ctx = GLib.MainContext.new()
    ctx.push_thread_default()
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    info = Gio.DBusNodeInfo.new_for_xml(XML)
    for iface in info.interfaces:
        bus.register_object("/org/freedesktop/Notifications", iface, on_call, None, None)
        bus.register_object("/org/gtk/Notifications", iface, on_call, None, None)
    for name in ("org.freedesktop.Notifications", "org.gtk.Notifications"):
        bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                      "RequestName", GLib.Variant("(su)", (name, 4)), None,
                      Gio.DBusCallFlags.NONE, -1, None)
    loop = GLib.MainLoop.new(ctx, False)
    loop.run()


threading.Thread(target=serve, daemon=True).start()
time.sleep(0.5)


def clock_reaches(pid, text, timeout):
    """Wait for the picture's description to show the time `text`."""
    end = time.time() + timeout
    while time.time() < end:
        for app in pyatspi.Registry.getDesktop(0):
            try:
                if app and app.get_process_id() == pid:
                    img = pyatspi.findDescendant(app, lambda o: o.getRoleName() == "image")
                    if img and text in img.description:
                        return True
            except Exception:
                pass
        time.sleep(0.2)
    return False


def run_case(label, config, at, until):
    path = os.path.join(work, label + ".ini")
    with open(path, "w") as f:
        f.write(config)
    with lock:
        received.clear()
    # the notifications in Japanese (the messages' language)
    env = dict(os.environ, TENMADO_TEST_TICK_MS="10", LC_ALL="C.UTF-8", LANGUAGE="ja")
    log = open(os.path.join(work, label + ".log"), "w")
    proc = subprocess.Popen([prog, "--config", path, "--at", at], stdout=log,
                            stderr=subprocess.STDOUT, env=env)
    if not clock_reaches(proc.pid, until, 60):
        fail("%s: the clock did not reach %s" % (label, until))
    time.sleep(0.5)
    proc.terminate()
    proc.wait(10)
    with lock:
        return list(received)


almanac = json.loads(subprocess.run([prog, "--almanac", "--json", "--at", "2026-12-06 06:00:00"],
                                    capture_output=True, text=True).stdout)
rise = almanac["sunrise"]
hh, mm = int(rise), int((rise - int(rise)) * 60)
start = "2026-12-06 %02d:%02d:00" % (hh, mm - 4)
until = "%d時%d分" % (hh, mm + 3)

on = "[reminders]\nenabled = true\nminutes = 2\n"
got = run_case("on", on, start, until)
rises = [n for n in got if "日の出" in n[0]]
if len(rises) != 1 or len(got) != 1:
    fail("reminders on: %d notifications (%d of the sunrise), not one: %r" % (len(got), len(rises), got))
elif "%d時%02d分" % (hh, mm) not in rises[0][0]:
    fail("the sunrise's notification names another time: %r" % (rises[0],))

got = run_case("off", "[observer]\nazimuth = 0\n", start, until)
if got:
    fail("reminders off by default, yet %r" % got)

# the program started after the sunrise: its reminder is not sent late
late = "2026-12-06 %02d:%02d:00" % (hh, mm + 1)
got = run_case("late", on, late, "%d時%d分" % (hh, mm + 3))
if got:
    fail("a reminder for the sunrise already past: %r" % got)

if failures:
    print("%d failure(s)" % len(failures))
    sys.exit(1)
print("window_reminders: all checks passed")
