#!/bin/bash
# run.sh: the station tide predictor against an independent one.
# Usage: tools/tide_accuracy/run.sh [BUILD_DIR]   (default: build)
#   Runs the program BUILD_DIR/tenmado for a month (--almanac --json --days
#   31 --tide-station ID) at five stations (Tokyo, Osaka, Naha, a NOAA
#   reference station and a NOAA subordinate one), installs the reference
#   predictor of the same database (the npm package @neaps/tide-predictor,
#   exactly as package-lock.json pins it), predicts the same month with it
#   from the stations' files in the archive, and writes the comparison to
#   tools/tide_accuracy/out/summary.md (ignored by git) and to stdout.
# Needs a built tenmado, python3, node and npm, and the archive in
# ../shared/data/tide-stations/. Opt-in: not part of the tests.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:-build}
case $build in /*) ;; *) build=$root/$build ;; esac
archive=$root/../shared/data/tide-stations/tide-database.tar.xz
out=$here/out
mkdir -p "$out/stations"
stations=(ticon/tokyo-ma15-jpn-jodc_jma ticon/osaka-ma30-jpn-jodc_jma ticon/naha-355-jpn-uhslc_fd
          noaa/9414290 noaa/9414275)
start="2026-01-01"
days=31

(cd "$here" && npm ci --no-audit --no-fund --silent)
python3 "$here/stations.py" "$archive" "$out/stations" "${stations[@]}"
for id in "${stations[@]}"; do
    name=${id//\//_}
    # the days at noon UTC: the station's dates from the day before on
    XDG_CONFIG_HOME=$out "$build/tenmado" --almanac --json --days $((days + 2)) --zone 0 --lon 0 \
        --at "2025-12-31 12:00:00" --tide-station "$id" > "$out/$name.tenmado.json"
    node "$here/reference.js" "$out/stations" "$id" 2025-12-30T00:00:00Z 2026-02-03T00:00:00Z \
        > "$out/$name.reference.json"
done
# the four-constituent model of Tokyo Bay (the default) at the Japanese stations
XDG_CONFIG_HOME=$out "$build/tenmado" --almanac --json --days $((days + 2)) --zone 0 --lon 0 \
    --at "2025-12-31 12:00:00" --tide-station tokyo-bay > "$out/tokyo-bay.tenmado.json"
echo "All constituents:" | tee "$out/summary.md"
python3 "$here/summary.py" "$out" "${stations[@]}" tokyo-bay=ticon/tokyo-ma15-jpn-jodc_jma \
    tokyo-bay=ticon/osaka-ma30-jpn-jodc_jma | tee -a "$out/summary.md"

# Again without the constituents the two predictors define differently
# (measured one by one: M1, M3, S3, T3, R3, 3N2, 3L2, MA2, MB2, MTM, MSQM,
# OO1): both predict from the same reduced sets.
differ=M1,M3,S3,T3,R3,3N2,3L2,MA2,MB2,MTM,MSQM,OO1
python3 "$here/reduce.py" "$root/tides/tide_stations.tsv" "$differ" > "$out/reduced.tsv"
mkdir -p "$out/reduced"
for id in "${stations[@]}"; do
    name=${id//\//_}
    TENMADO_TIDE_STATIONS=$out/reduced.tsv XDG_CONFIG_HOME=$out "$build/tenmado" --almanac --json \
        --days $((days + 2)) --zone 0 --lon 0 --at "2025-12-31 12:00:00" --tide-station "$id" \
        > "$out/reduced/$name.tenmado.json"
    DROP=$differ node "$here/reference.js" "$out/stations" "$id" 2025-12-30T00:00:00Z \
        2026-02-03T00:00:00Z > "$out/reduced/$name.reference.json"
done
echo "Without $differ:" | tee -a "$out/summary.md"
python3 "$here/summary.py" "$out/reduced" "${stations[@]}" | tee -a "$out/summary.md"
