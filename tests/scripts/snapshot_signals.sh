#!/usr/bin/env bash
# SIGTERM, SIGINT and SIGHUP at random moments of a snapshot that replaces
# an existing picture: the program ends with status 0 (done before the
# signal), is ended by the signal, or ends with 128 + the signal after
# removing its temporary file (the program's handler is in place only while
# that file exists, so this status counts the signals that found it). No
# temporary file is ever left, and the target is either the old picture,
# untouched, or the new one, whole.
# Half of the runs stretch the write of the file (TENMADO_TEST_WRITE_PAUSE_US)
# and send their signal at a random moment after the temporary file has
# appeared, so that most of them find it half written; the others send
# theirs at a random moment of the whole run.
# TENMADO_KILLS sets the number of runs (default 120; 30 in a sanitizer
# build, where a run takes ten times as long and the handling is the same).
# Usage: snapshot_signals.sh <path-to-tenmado_testhooks> <source-dir> (the
# program built with its test hooks)
set -u
prog=$1
unset DISPLAY WAYLAND_DISPLAY
work=$(mktemp -d /tmp/tenmado-signals-test.XXXXXX)
trap 'rm -rf "$work"' EXIT
command -v python3 >/dev/null || { echo "FAIL: python3 is not installed"; exit 1; }

kills=120
ldd "$prog" 2>/dev/null | grep -q libasan && kills=30
python3 - "$prog" "$work" "${TENMADO_KILLS:-$kills}" <<'PY'
import filecmp, glob, os, random, signal, statistics, subprocess, sys, time

prog, work, kills = sys.argv[1], sys.argv[2], int(sys.argv[3])
at = "2026-12-06 21:00:00"
pause_us = 5000          # between the 4 kB pieces of a stretched write
write_s = 0.08           # a stretched write lasts longer (70 kB: 17 pauses)
min_in_write = max(5, kills // 8)  # signals that must find the temporary file
sigs = [signal.SIGTERM, signal.SIGINT, signal.SIGHUP]
target, old, new = (os.path.join(work, n) for n in ("target.png", "old.png", "new.png"))
random.seed(int(os.environ.get("TENMADO_SEED", "15")))
fails = []


def default_signals():
    # as from a terminal or a service manager: none of the three ignored
    for s in sigs:
        signal.signal(s, signal.SIG_DFL)


def start(path, stretch):
    env = dict(os.environ)
    if stretch:
        env["TENMADO_TEST_WRITE_PAUSE_US"] = str(pause_us)
    return subprocess.Popen([prog, "--snapshot", path, "--at", at], env=env,
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                            preexec_fn=default_signals)


def timed(path, stretch):
    t = time.monotonic()
    p = start(path, stretch)
    if p.wait() != 0:
        sys.exit("FAIL: a snapshot without a signal failed: " + p.stderr.read().decode(errors="replace"))
    return time.monotonic() - t


if subprocess.run([prog, "--snapshot", old, "--at", "2000-01-01 00:00:00"]).returncode != 0:
    sys.exit("FAIL: no old picture")
plain = statistics.median(timed(new, False) for _ in range(3))
stretched = statistics.median(timed(new, True) for _ in range(3))
print(f"a run takes {plain * 1000:.0f} ms, stretched {stretched * 1000:.0f} ms")

done = ended = removed = 0
for i in range(kills):
    with open(old, "rb") as src, open(target, "wb") as dst:
        dst.write(src.read())
    stretch = i % 2 == 1
    s = random.choice(sigs)
    p = start(target, stretch)
    t = time.monotonic()
    if stretch:
        # once the temporary file is there, a moment of its write
        while p.poll() is None and not glob.glob(os.path.join(work, ".tenmado-snapshot-*")):
            time.sleep(0.0005)
        delay = random.uniform(0, write_s)
        time.sleep(delay)
        delay = time.monotonic() - t  # from the start
    else:
        delay = random.uniform(0, 1.2 * plain)
        time.sleep(delay)
    try:
        p.send_signal(s)
    except ProcessLookupError:
        pass
    rc = p.wait()
    err = p.stderr.read().decode(errors="replace")[:300]
    what = f"run {i + 1} ({s.name} after {delay * 1000:.1f} ms{', stretched' if stretch else ''})"
    if rc == 0:
        done += 1
    elif rc == -s:
        ended += 1
    elif rc == 128 + s:
        removed += 1
    else:
        fails.append(f"{what}: exit status {rc}: {err}")
    left = glob.glob(os.path.join(work, ".tenmado-snapshot-*"))
    for f in left:
        os.unlink(f)
    if left:
        fails.append(f"{what} left {left}")
    if filecmp.cmp(target, new, shallow=False):
        if rc == 128 + s:
            fails.append(f"{what}: removed its temporary file, but the target is the new picture")
    elif filecmp.cmp(target, old, shallow=False):
        if rc == 0:
            fails.append(f"{what}: exit 0, but the target is the old picture")
    else:
        fails.append(f"{what}: the target is neither the old picture nor the new one")

print(f"{kills} runs: {done} done before the signal, {ended} ended by it outside the write, "
      f"{removed} stopped while the temporary file existed (removed)")
if removed < min_in_write:
    fails.append(f"only {removed} signals found the temporary file (at least {min_in_write} wanted)")
for f in fails:
    print("FAIL: " + f)
if fails:
    print(f"{len(fails)} failure(s)")
    sys.exit(1)
print("snapshot_signals: all checks passed")
PY
