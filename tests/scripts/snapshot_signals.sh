#!/usr/bin/env bash
# Every signal that ends the program and can be caught (SIGTERM, SIGINT,
# SIGHUP, SIGQUIT, SIGUSR1, SIGALRM, ... and the real-time ones; SIGXFSZ is
# ignored by the program) at random moments of a snapshot that replaces an
# existing picture: the program ends with status 0 (done before the
# signal), is ended by the signal, or ends with 128 + the signal after
# removing its temporary file (the program's handler is in place only while
# that file exists, so this status counts the signals that found it). No
# temporary file is ever left, and the target is either the old picture,
# untouched, or the new one, whole.
# Half of the runs paint at scale 8 and stretch the write of the file
# (TENMADO_TEST_WRITE_PAUSE_US) and send their signal at a random moment
# after the temporary file has appeared, so that most of them find it half
# written; the others send theirs at a random moment of the whole run.
# Then a SIGKILL's file: removed by the next snapshot into the folder, as
# one of another boot, but never the file of a writer still at work.
# TENMADO_KILLS sets the number of runs (default 80; 24 in a sanitizer
# build, where a run takes ten times as long and the handling is the same).
# Usage: snapshot_signals.sh <path-to-tenmado_testhooks> <source-dir> (the
# program built with its test hooks)
set -u
prog=$1
unset DISPLAY WAYLAND_DISPLAY
work=$(mktemp -d /tmp/tenmado-signals-test.XXXXXX)
trap 'rm -rf "$work"' EXIT
command -v python3 >/dev/null || { echo "FAIL: python3 is not installed"; exit 1; }

kills=80
ldd "$prog" 2>/dev/null | grep -q libasan && kills=24
python3 - "$prog" "$work" "${TENMADO_KILLS:-$kills}" <<'PY'
import filecmp, glob, os, random, resource, signal, statistics, subprocess, sys, time

prog, work, kills = sys.argv[1], sys.argv[2], int(sys.argv[3])
at = "2026-12-06 21:00:00"
pause_us = 600           # between the 4 kB pieces of a stretched write
write_s = 0.08           # a stretched write lasts longer (560 kB at scale 8: 137 pauses)
min_in_write = max(5, kills // 8)  # signals that must find the temporary file
sigs = [getattr(signal, "SIG" + n) for n in
        "HUP INT QUIT ILL TRAP ABRT BUS FPE USR1 SEGV USR2 PIPE ALRM TERM STKFLT XCPU VTALRM "
        "PROF IO PWR SYS".split()] + [signal.SIGRTMIN, signal.SIGRTMAX]
temps = os.path.join(work, ".tenmado-snapshot-*")
target, old, new, new8 = (os.path.join(work, n) for n in ("target.png", "old.png", "new.png", "new8.png"))
random.seed(int(os.environ.get("TENMADO_SEED", "15")))
fails = []


def default_signals():
    # as from a terminal or a service manager: none ignored; no core files
    for s in sigs:
        signal.signal(s, signal.SIG_DFL)
    resource.setrlimit(resource.RLIMIT_CORE, (0, 0))


def start(path, stretch, pause=pause_us):
    env = dict(os.environ)
    if stretch:
        env["TENMADO_TEST_WRITE_PAUSE_US"] = str(pause)
    scale = ["--scale", "8"] if stretch else []
    return subprocess.Popen([prog, "--snapshot", path, "--at", at] + scale, env=env,
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
stretched = statistics.median(timed(new8, True) for _ in range(3))
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
        while p.poll() is None and not glob.glob(temps):
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
    left = glob.glob(temps)
    for f in left:
        os.unlink(f)
    if left:
        fails.append(f"{what} left {left}")
    if filecmp.cmp(target, new8 if stretch else new, shallow=False):
        if rc == 128 + s:
            fails.append(f"{what}: removed its temporary file, but the target is the new picture")
    elif filecmp.cmp(target, old, shallow=False):
        if rc == 0:
            fails.append(f"{what}: exit 0, but the target is the old picture")
    else:
        fails.append(f"{what}: the target is neither the old picture nor the new one")

print(f"{kills} runs: {done} done before the signal, {ended} ended by it outside the write, "
      f"{removed} stopped while the temporary file existed (removed)")
# a SIGKILL's file stays; the next snapshot into the folder removes it and
# one of another boot, but not the file of a writer at work (long pauses)
def wait_new_temp(p, known):
    while p.poll() is None and not set(glob.glob(temps)) - set(known):
        time.sleep(0.001)
    return set(glob.glob(temps)) - set(known)


p = start(target, True)
killed = wait_new_temp(p, [])
p.kill()
p.wait()
other_boot = os.path.join(work, ".tenmado-snapshot-1-0123456789abcdef0123456789abcdef-abcdef")
open(other_boot, "w").close()
w = start(os.path.join(work, "slow.png"), True, 50000)
mine = wait_new_temp(w, killed | {other_boot})
subprocess.run([prog, "--snapshot", os.path.join(work, "next.png")])
after = set(glob.glob(temps))
if len(killed) != 1 or killed & after or other_boot in after:
    fails.append(f"the files of SIGKILL {killed} and another boot not removed by the next snapshot: {after}")
if not mine or not mine <= after or w.wait() != 0:
    fails.append(f"the writer at work lost its file {mine} (left {after}) or failed")

if removed < min_in_write:
    fails.append(f"only {removed} signals found the temporary file (at least {min_in_write} wanted)")
for f in fails:
    print("FAIL: " + f)
if fails:
    print(f"{len(fails)} failure(s)")
    sys.exit(1)
print("snapshot_signals: all checks passed")
PY
