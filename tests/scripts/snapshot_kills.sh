#!/usr/bin/env bash
# The temporary file of a snapshot at scale 8 and every signal that ends the
# program and can be caught, sent at a random moment of the file's write:
# the program ends with 128 + the signal and leaves no temporary file, the
# target the old picture. A SIGKILL leaves its file; the next snapshot into
# the folder removes it, as it removes one of another boot, but never the
# file of a writer still at work.
# Usage: snapshot_kills.sh <path-to-tenmado> <source-dir>
set -u
prog=$1
unset DISPLAY WAYLAND_DISPLAY
work=$(mktemp -d /tmp/tenmado-kills-test.XXXXXX)
trap 'rm -rf "$work"' EXIT
command -v python3 >/dev/null || { echo "FAIL: python3 is not installed"; exit 1; }
python3 - "$prog" "$work" <<'PY'
import filecmp, glob, os, random, signal, subprocess, sys, time

prog, work = sys.argv[1], sys.argv[2]
random.seed(int(os.environ.get("TENMADO_SEED", "26")))
temps = os.path.join(work, ".tenmado-snapshot-*")
target, old = os.path.join(work, "target.png"), os.path.join(work, "old.png")
fails = []
# SIGXFSZ is left out: the program ignores it (a write past ulimit -f fails instead)
names = ["HUP", "INT", "QUIT", "ILL", "TRAP", "ABRT", "BUS", "FPE", "USR1", "SEGV", "USR2",
         "PIPE", "ALRM", "TERM", "STKFLT", "XCPU", "VTALRM", "PROF", "IO", "PWR", "SYS"]
sigs = [getattr(signal, "SIG" + n) for n in names] + [signal.SIGRTMIN, signal.SIGRTMAX]


def default_signals():
    for s in sigs:
        signal.signal(s, signal.SIG_DFL)


def start(path, pause_us):
    env = dict(os.environ, TENMADO_TEST_WRITE_PAUSE_US=str(pause_us))
    return subprocess.Popen([prog, "--snapshot", path, "--scale", "8"], env=env,
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                            preexec_fn=default_signals)


def wait_temp(p, known=()):
    # until the program's own temporary file appears (or it ends)
    while p.poll() is None and not set(glob.glob(temps)) - set(known):
        time.sleep(0.001)
    return set(glob.glob(temps)) - set(known)


if subprocess.run([prog, "--snapshot", old, "--at", "2000-01-01 00:00:00"]).returncode != 0:
    sys.exit("FAIL: no old picture")

# ---- each signal at a random moment of the write (about 0.3 s of 140 pieces)
random.shuffle(sigs)
for s in sigs:
    with open(old, "rb") as src, open(target, "wb") as dst:
        dst.write(src.read())
    p = start(target, 2000)
    wait_temp(p)
    time.sleep(random.uniform(0, 0.25))
    p.send_signal(s)
    rc = p.wait()
    what = f"{signal.Signals(s).name}"
    if rc != 128 + s:
        fails.append(f"{what}: exit status {rc}, not {128 + s}: {p.stderr.read()[:200]}")
    left = glob.glob(temps)
    if left:
        fails.append(f"{what} left {left}")
        for f in left:
            os.unlink(f)
    if not filecmp.cmp(target, old, shallow=False):
        fails.append(f"{what}: the target is not the old picture")

# ---- SIGKILL: its file stays, the next snapshot into the folder removes it
p = start(target, 2000)
wait_temp(p)
p.kill()
p.wait()
killed = glob.glob(temps)
if len(killed) != 1:
    fails.append(f"SIGKILL left {killed}, not one file")
other_boot = os.path.join(work, ".tenmado-snapshot-1-0123456789abcdef0123456789abcdef-abcdef")
open(other_boot, "w").close()
# a writer at work (a long pause between its pieces) beside a later snapshot
slow = os.path.join(work, "slow.png")
w = start(slow, 20000)
mine = wait_temp(w, killed + [other_boot])
r = subprocess.run([prog, "--snapshot", os.path.join(work, "next.png")])
after = set(glob.glob(temps))
if r.returncode != 0:
    fails.append(f"the next snapshot: exit {r.returncode}")
if set(killed) & after:
    fails.append(f"the next snapshot left the SIGKILL's file {killed}")
if other_boot in after:
    fails.append("the next snapshot left the file of another boot")
if not mine or not mine <= after:
    fails.append(f"the writer at work lost its file ({mine}, left {after})")
if w.wait() != 0:
    fails.append(f"the writer at work failed: {w.stderr.read()[:200]}")
if glob.glob(temps):
    fails.append(f"files left at the end: {glob.glob(temps)}")

for f in fails:
    print("FAIL: " + f)
if fails:
    sys.exit(1)
print(f"snapshot_kills: all checks passed ({len(sigs)} signals)")
PY
