# Shared by the scripts that look at the window's picture (sourced, not a
# test of its own): a capture of the window is the snapshot of the instant
# it shows, at the same scale, pixel for pixel.
#
# Needs before sourcing: $prog, $work and fail.
#   $at                          the instant the window starts from (--at)
#   shows_snapshot PNG S WHAT    the capture PNG (the picture at its top left,
#                                as large as the window shows of it) is the
#                                scale-S snapshot of one of the 30 seconds
#                                from $at, pixel for pixel

# shellcheck disable=SC2154  # $prog and $work are the sourcing script's
at="2026-12-06 15:00:00"

# The window's clock runs on from $at: the capture shows a second or more
# later. That second is found by trying each: exactly one snapshot is the
# same in every pixel (the date line shows the second), so the horizon, the
# zenith, the grids, the bodies, the text and the clock's dial are all where
# the snapshot has them, drawn as the snapshot draws them at that scale.
shows_snapshot() {
  local capture=$1 scale=$2 size k t ae fewest=
  size=$(identify -format '%wx%h' "$capture") || { fail "$3: no capture"; return; }
  for k in $(seq 0 29); do
    t=$(printf '%s:%02d' "${at%:*}" "$k")
    "$prog" --snapshot "$work/at.png" --scale "$scale" --at "$t" ||
      { fail "$3: snapshot at scale $scale"; return; }
    convert "$work/at.png" -crop "$size+0+0" +repage PNG24:"$work/at-crop.png"
    ae=$(compare -metric AE "$capture" "$work/at-crop.png" null: 2>&1)
    [ "$ae" = 0 ] && return 0
    [ -z "$fewest" ] || [ "$ae" -lt "${fewest%% *}" ] 2>/dev/null && fewest="$ae pixels at $t"
  done
  fail "$3: the capture ($size) is no scale-$scale snapshot of the 30 s from $at (nearest: $fewest differ)"
}
