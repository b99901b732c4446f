#!/usr/bin/env bash
# The iCalendar export (--almanac --days N --ics): it parses with a
# maintained reader (Python's icalendar, Debian's python3-icalendar), its
# lines are CRLF-ended and folded at 75 octets, the UIDs and instants are the
# same on a second export, the phases come back at the JSON's instants, a
# span has its end, --output writes the same bytes, and bad lists exit 2.
# Usage: calendar_ics.sh <path-to-tenmado> <source-dir>
set -u
prog=$1
fails=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }
unset DISPLAY WAYLAND_DISPLAY
work=$(mktemp -d /tmp/tenmado-ics-test.XXXXXX)
trap 'rm -rf "$work"' EXIT

# a Python that has the reader (the system's, when python3 on the PATH is another)
py=
for p in python3 /usr/bin/python3; do
  if "$p" -c 'import icalendar' 2>/dev/null; then py=$p; break; fi
done
if [ -z "$py" ]; then echo "SKIP: Python's icalendar is not installed (python3-icalendar)"; exit 77; fi

at="2026-12-06 12:00:00"
all=sun,moon,phases,tides,twilight
"$prog" --almanac --at "$at" --days 40 --ics >"$work/a.ics" || fail "--ics exit $?"
"$prog" --almanac --at "$at" --days 40 --ics --events $all >"$work/all1.ics" || fail "--events exit $?"
sleep 1  # another DTSTAMP
"$prog" --almanac --at "$at" --days 40 --ics --events $all >"$work/all2.ics" || fail "second export"
"$prog" --almanac --json --at "$at" >"$work/day.json" || fail "--json exit $?"

"$py" - "$work" <<'PY' || fail "the calendar files"
import datetime, json, sys
import icalendar
work = sys.argv[1]

def read(name):
    raw = open(f"{work}/{name}", "rb").read()
    lines = raw.split(b"\r\n")
    assert lines[-1] == b"", "the file does not end with CRLF"
    for line in lines[:-1]:
        assert b"\n" not in line and b"\r" not in line, f"a bare line end: {line!r}"
        assert len(line) <= 75, f"line of {len(line)} octets: {line!r}"
    raw.decode("utf-8")
    cal = icalendar.Calendar.from_ical(raw)
    assert cal["VERSION"] == "2.0" and "PRODID" in cal
    events = [c for c in cal.walk() if c.name == "VEVENT"]
    for e in events:
        for key in ("UID", "DTSTAMP", "DTSTART", "SUMMARY"):
            assert key in e, f"{key} missing in {e}"
        assert e.decoded("DTSTART").tzinfo is not None, "a time without its zone"
    return events

phases = read("a.ics")
one, two = read("all1.ics"), read("all2.ics")

# the same UIDs and instants on the next export; UIDs unique
uids = [str(e["UID"]) for e in one]
assert len(uids) == len(set(uids)), "a UID twice"
assert uids == [str(e["UID"]) for e in two], "the UIDs changed between exports"
assert [e.decoded("DTSTART") for e in one] == [e.decoded("DTSTART") for e in two]

# every kind is there; spans end after they start; Japanese summaries
cats = {str(e["CATEGORIES"].cats[0]) if hasattr(e["CATEGORIES"], "cats") else str(e["CATEGORIES"])
        for e in one}
assert cats == {"sun", "moon", "tides", "twilight"}, cats
spans = [e for e in one if "DTEND" in e]
assert spans and all(e.decoded("DTEND") > e.decoded("DTSTART") for e in spans)
assert any(str(e["SUMMARY"]) == "満月" for e in phases)
assert any(str(e["SUMMARY"]) == "日の出" for e in one)
assert "北緯 35.6" in str(one[0]["DESCRIPTION"])

# the phases of the JSON (the next four after the instant) at the same
# instants, to the second
day = json.load(open(f"{work}/day.json", encoding="utf-8"))
epoch = datetime.datetime(1970, 1, 1, tzinfo=datetime.timezone.utc)
got = {}
for e in phases:
    t = (e.decoded("DTSTART") - epoch).total_seconds()
    got[str(e["UID"]).split("-")[1]] = got.get(str(e["UID"]).split("-")[1], []) + [t]
assert len(day["phases"]) == 4
for p in day["phases"]:
    want = (p["jd"] - 2440587.5) * 86400
    key = p["phase"]
    assert any(abs(t - want) <= 0.5 for t in got[key]), (p, got[key])
print(f"calendar: {len(phases)} phases, {len(one)} events, UIDs stable")
PY

# --output: the same bytes as standard output (DTSTAMP fixed), written whole
export SOURCE_DATE_EPOCH=1765000000
"$prog" --almanac --at "$at" --days 30 --ics >"$work/out1.ics" || fail "stdout"
"$prog" --almanac --at "$at" --days 30 --ics --output "$work/out2.ics" >"$work/none" \
  || fail "--output exit $?"
cmp -s "$work/out1.ics" "$work/out2.ics" || fail "--output differs from standard output"
[ -s "$work/none" ] && fail "--output also printed to standard output"
grep -q "^DTSTAMP:20251206T054640Z" "$work/out1.ics" || fail "SOURCE_DATE_EPOCH not the DTSTAMP"
unset SOURCE_DATE_EPOCH

# bad inputs: exit 2 and nothing printed
bad() {
  "$prog" "$@" >"$work/out" 2>"$work/err"; rc=$?
  [ $rc -eq 2 ] || fail "exit $rc (not 2) for: $*"
  [ -s "$work/out" ] && fail "output printed for: $*"
}
bad --almanac --days 3 --ics --events sun,stars
bad --almanac --days 3 --ics --events ""
bad --almanac --days 3 --ics --events sun,
bad --ics --days 3
bad --almanac --ics --json
bad --almanac --days 3 --events sun
bad --almanac --days 3 --columns sunrise,bogus
bad --almanac --columns sunrise
bad --snapshot "$work/x.png" --output "$work/y"

if [ $fails -ne 0 ]; then echo "$fails failure(s)"; exit 1; fi
echo "calendar_ics: all checks passed"
