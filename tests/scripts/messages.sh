#!/usr/bin/env bash
# Two languages. The catalogs: the template the build made from the sources
# is the committed po/tenmado.pot (but for locations and date), every
# catalog passes msgfmt --check and translates every message of it, none
# fuzzy. The program: LANGUAGE=ja gives Japanese --help, errors and
# warnings (every message a Japanese user can meet), LANGUAGE=en and the C
# locale English. The texts: --labels en, [display] labels and auto; the
# text almanac in an EUC-JP locale (made with localedef here) is EUC-JP, the
# JSON stays UTF-8, and a locale that cannot hold the text is exit 1 with a
# message. The English snapshot at three instants is the committed picture
# (when this machine draws the Japanese ones exactly as committed).
# Usage: messages.sh <path-to-tenmado> <source-dir>
set -u
prog=$1
src=$2
build=$(dirname "$prog")
unset DISPLAY WAYLAND_DISPLAY LANG LC_ALL LC_MESSAGES LANGUAGE
export XDG_CONFIG_HOME=/nonexistent
work=$(mktemp -d /tmp/tenmado-messages-test.XXXXXX)
trap 'rm -rf "$work"' EXIT
fails=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }
at="2026-12-06 15:00:00"
japanese() { LC_ALL=C.UTF-8 LANGUAGE=ja "$@"; }
has_kana() { LC_ALL=C.UTF-8 grep -qP '[\x{3040}-\x{30ff}\x{4e00}-\x{9fff}]' "$1"; }

# ---- the catalogs
pot=$build/po/tenmado.pot
strip_pot() { grep -v -e '^#:' -e '^"POT-Creation-Date:' "$1"; }
if [ ! -f "$pot" ]; then
  fail "the build made no template ($pot)"
elif ! diff -u <(strip_pot "$src/po/tenmado.pot") <(strip_pot "$pot") >"$work/pot.diff"; then
  fail "po/tenmado.pot is not the template of the sources (run: cmake --build BUILD --target update-po, then translate):"
  head -n 40 "$work/pot.diff"
fi
for po in "$src"/po/*.po; do
  lang=$(basename "$po" .po)
  grep -qx "$lang" "$src/po/LINGUAS" || fail "$lang.po is not in po/LINGUAS"
  msgfmt --check --output-file=/dev/null "$po" 2>"$work/msgfmt" || fail "msgfmt --check $lang.po: $(head -c 600 "$work/msgfmt")"
  [ -z "$(msgattrib --untranslated "$po")" ] || fail "$lang.po: untranslated: $(msgattrib --untranslated --no-wrap "$po" | grep '^msgid' | head -5)"
  [ -z "$(msgattrib --only-fuzzy "$po")" ] || fail "$lang.po: fuzzy: $(msgattrib --only-fuzzy --no-wrap "$po" | grep '^msgid' | head -5)"
  [ -f "$pot" ] && { msgcmp "$po" "$pot" 2>"$work/msgcmp" || fail "$lang.po lacks messages of the template: $(head -c 600 "$work/msgcmp")"; }
done

# Every message the program hands to the user is marked: a call that prints,
# warns, fails or labels the window with an English phrase on its own line
# and no _(), N_(), U8_() or ngettext() there is a message left out of the
# template (the test hooks' log lines are not messages).
sinks='(g_printerr|fprintf\(stderr|I18n_Print|[uU]sage\(|Failure\(|warnings->push_back|\*why = |\*problem = |gtk_label_(new|set_text)|gtk_button_new_with_label|set_tooltip_text|set_title|g_menu_(append|item_new)|g_notification_(new|set_body)|atk_object_set_(name|description)|add_credit_section|set_comments)'
(cd "$src" && grep -rnP "$sinks"'.*"[^"]*\b[a-z]{2,} [a-z]{2,}' app shell places tides --include='*.cpp' |
  grep -vP '\b(_|N_|U8_|ngettext)\(' | grep -vP 'test ticks|tooltip: %s|reminder %s|repaint (again )?cpu') >"$work/unmarked"
[ -s "$work/unmarked" ] && fail "messages not marked for translation: $(head -n 5 "$work/unmarked")"

# ---- --help and the messages
japanese "$prog" --help >"$work/help" 2>&1 || fail "LANGUAGE=ja --help: exit $?"
grep -q '観測地の空の暦と時計' "$work/help" || fail "LANGUAGE=ja --help is not Japanese: $(head -n 3 "$work/help")"
grep -q -- '--labels=ja|en|auto' "$work/help" || fail "--help lacks --labels"
for env in "LC_ALL=C.UTF-8 LANGUAGE=en" "LC_ALL=C" "LC_ALL=C LANGUAGE=ja"; do
  env $env "$prog" --help >"$work/help" 2>&1
  grep -q "almanac and clock of the observer's sky" "$work/help" || fail "$env: --help is not English"
  has_kana "$work/help" && [ "$env" != "LC_ALL=C.UTF-8 LANGUAGE=en" ] && fail "$env: Japanese in --help"
done
env LC_ALL=C.UTF-8 LANGUAGE=en "$prog" --scale 9 --snapshot "$work/x.png" 2>"$work/err"
grep -q 'is not a scale' "$work/err" || fail "LANGUAGE=en: $(cat "$work/err")"

# Every message a user can meet, in Japanese: STATUS args...
printf '[observer]\nlatitude = 99\nheight = 3\n[window]\nwidget = maybe\nmode = 1\n[display]\nlabels = fr\nfont = big\n' >"$work/bad.ini"
mkdir "$work/folder.png"
cases=(
  "2|--scale 9 --snapshot $work/x.png" "2|--json" "2|--days 3" "2|--scale 2" "2|--almanac --days 0"
  "2|--almanac --at 2026-13-01" "2|--almanac --at 1582-10-10 00:00:00" "2|--almanac --at noon"
  "2|--lat 91" "2|--lon x" "2|--zone 0.3" "2|--azimuth 400" "2|--labels fr" "2|--config="
  "2|--snapshot $work/x.txt" "2|--bogus" "2|--almanac extra" "2|--almanac=yes"
  "2|--snapshot - --almanac" "2|--almanac --days 3660 --at 9999-12-30 12:00:00"
  "1|--snapshot $work/folder.png" "1|--snapshot $work/none/x.png"
  "2|--tide-station nosuch --almanac" "2|--tide-stations --almanac" "1|--places Xqzvq"
)
for c in "${cases[@]}"; do
  want=${c%%|*}
  IFS=' ' read -r -a args <<<"${c#*|}"
  # (the dates with a blank are joined again)
  [[ ${c#*|} == *"--at 1582-10-10 00:00:00"* ]] && args=(--almanac --at "1582-10-10 00:00:00")
  [[ ${c#*|} == *"9999-12-30 12:00:00"* ]] && args=(--almanac --days 3660 --at "9999-12-30 12:00:00")
  japanese "$prog" "${args[@]}" >"$work/out" 2>"$work/err" </dev/null
  rc=$?
  [ "$rc" = "$want" ] || fail "exit $rc (not $want) for ${args[*]}"
  head -n 1 "$work/err" >"$work/first"
  grep -q '^tenmado: ' "$work/first" || fail "no message for ${args[*]}: $(cat "$work/err")"
  has_kana "$work/first" || fail "not translated, for ${args[*]}: $(cat "$work/first")"
done
printf '[tides]\nstation = nosuch\n[reminders]\nminutes = -1\n' >>"$work/bad.ini"
japanese "$prog" --config "$work/bad.ini" --almanac --at "$at" >/dev/null 2>"$work/err"
[ "$(grep -c '^tenmado: 警告: ' "$work/err")" = 7 ] || fail "settings warnings in Japanese: $(cat "$work/err")"
grep -q '^tenmado: 警告: .*nosuch.*東京湾の潮汐を表示します' "$work/err" || fail "the tide station's warning: $(cat "$work/err")"
# the output headings of the lists
japanese "$prog" --places Sapporo | head -n 1 | grep -q '人口 [0-9]' || fail "--places in Japanese"
japanese "$prog" --tide-stations kushimoto | grep -q '^# ほかに: tokyo-bay' || fail "--tide-stations in Japanese"
env LC_ALL=C "$prog" --tide-stations kushimoto | grep -q '^# Also: tokyo-bay' || fail "--tide-stations in English"
printf '[observer]\nlatitude = 1\0002\n' >"$work/nul.ini"
for f in none.ini nul.ini folder.png; do
  japanese "$prog" --config "$work/$f" --almanac --at "$at" >/dev/null 2>"$work/err"
  has_kana "$work/err" || fail "settings file $f: $(cat "$work/err")"
done
if grep -q 'TENMADO_GUI=OFF' <(env LC_ALL=C "$prog" 2>&1); then :; else
  japanese "$prog" >/dev/null 2>"$work/err" && fail "the window without a display"
  has_kana "$work/err" || fail "no display: $(cat "$work/err")"
fi

# ---- the labels
# (the read-outs' rows against the committed text; then no Japanese at all in
# the whole almanac, the tables of days, the calendar, and with a station)
"$prog" --almanac --at "$at" --labels en | head -n 15 >"$work/en.txt" || fail "--labels en: exit $?"
cmp -s "$work/en.txt" "$src/tests/golden/almanac_2026-12-06_150000_en.txt" ||
  fail "English almanac: $(diff "$src/tests/golden/almanac_2026-12-06_150000_en.txt" "$work/en.txt" | head)"
printf '[display]\nlabels = en\n' >"$work/en.ini"
"$prog" --config "$work/en.ini" --almanac --at "$at" | head -n 15 | cmp -s - "$work/en.txt" || fail "[display] labels = en"
"$prog" --config "$work/en.ini" --labels ja --almanac --at "$at" |
  cmp -s - "$src/tests/golden/almanac_2026-12-06_150000.txt" || fail "--labels ja over the file"
env LC_ALL=C.UTF-8 LANGUAGE=en "$prog" --labels auto --almanac --at "$at" | head -n 15 | cmp -s - "$work/en.txt" ||
  fail "--labels auto in English"
japanese "$prog" --labels auto --almanac --at "$at" |
  cmp -s - "$src/tests/golden/almanac_2026-12-06_150000.txt" || fail "--labels auto in Japanese"
all_columns=sunrise,sunset,moonrise,moonset,high1,high2,low1,low2,age,civil_dawn,civil_dusk
all_columns+=,nautical_dawn,nautical_dusk,astronomical_dawn,astronomical_dusk,golden_hour,blue_hour
all_columns+=,day_length,day_length_change,moon_illumination,moon_phase
for args in "--almanac" "--almanac --days 3" "--almanac --days 3 --columns $all_columns" \
            "--almanac --ics --days 2 --events sun,moon,phases,tides,twilight" \
            "--almanac --tide-station ticon/kushimoto-353-jpn-uhslc_fd --lat 33.47 --lon 135.78" \
            "--almanac --tide-station nearest --lat -33.86 --lon 151.2 --zone 10" \
            "--almanac --tide-station nearest --lat 0 --lon -150"; do
  IFS=' ' read -r -a a <<<"$args"
  "$prog" "${a[@]}" --labels en --at "$at" >"$work/en-all.txt" 2>/dev/null || fail "--labels en $args: exit $?"
  LC_ALL=C grep -naP '[^\x00-\x7f]' "$work/en-all.txt" >"$work/nonascii" &&
    fail "Japanese under --labels en $args: $(head -n 3 "$work/nonascii")"
done
grep -q '^Phase waning crescent' <("$prog" --almanac --labels en --at "$at") || fail "the planner's lines in English"

# ---- the locale's character set
mkdir -p "$work/loc"
if ! localedef -i ja_JP -f EUC-JP "$work/loc/ja_JP.eucJP" >"$work/localedef" 2>&1 ||
   ! localedef -i en_US -f ISO-8859-1 "$work/loc/en_US.ISO-8859-1" >>"$work/localedef" 2>&1; then
  fail "localedef (package locales): $(head -c 400 "$work/localedef")"
else
  export LOCPATH=$work/loc
  LC_ALL=ja_JP.eucJP "$prog" --almanac --at "$at" >"$work/euc.txt" || fail "EUC-JP almanac: exit $?"
  iconv -f EUC-JP -t UTF-8 "$work/euc.txt" | cmp -s - "$src/tests/golden/almanac_2026-12-06_150000.txt" ||
    fail "the EUC-JP almanac is not the almanac in EUC-JP"
  cmp -s "$work/euc.txt" "$src/tests/golden/almanac_2026-12-06_150000.txt" && fail "the EUC-JP almanac is UTF-8"
  LC_ALL=ja_JP.eucJP "$prog" --almanac --days 2 --at "$at" | iconv -f EUC-JP -t UTF-8 | head -n 1 |
    grep -q '^日付' || fail "EUC-JP table of days"
  LC_ALL=ja_JP.eucJP "$prog" --almanac --json --at "$at" >"$work/euc.json"
  grep -q '"name": "土星"' "$work/euc.json" || fail "the JSON under EUC-JP is not UTF-8"
  LC_ALL=ja_JP.eucJP LANGUAGE=ja "$prog" --lat 91 2>"$work/err"
  iconv -f EUC-JP -t UTF-8 "$work/err" | grep -q '緯度\|ではありません' || fail "EUC-JP message: $(od -c "$work/err" | head -3)"
  LC_ALL=en_US.ISO-8859-1 "$prog" --almanac --at "$at" >"$work/latin1.txt" 2>"$work/err"
  rc=$?
  [ "$rc" = 1 ] || fail "a Japanese almanac in ISO-8859-1: exit $rc, not 1"
  [ -s "$work/latin1.txt" ] && fail "a Japanese almanac in ISO-8859-1: something written"
  grep -q 'character set of the locale (ISO-8859-1)' "$work/err" || fail "ISO-8859-1 message: $(cat "$work/err")"
  LC_ALL=en_US.ISO-8859-1 "$prog" --almanac --days 2 --at "$at" --labels en >"$work/latin1.txt" ||
    fail "the English table of days in ISO-8859-1: exit $?"
  head -n 1 "$work/latin1.txt" | grep -q '^Date        S.rise' || fail "the English table of days in ISO-8859-1"
  unset LOCPATH
fi

# ---- the English picture at three instants
if command -v compare >/dev/null; then
  for t in "2026-12-06 15:00:00" "2026-12-31 23:59:59" "1899-12-31 21:00:00"; do
    name=$(tr -d ' :-' <<<"$t" | sed 's/^\(........\)/\1_/').png
    "$prog" --snapshot "$work/ja.png" --at "$t" || fail "snapshot at $t"
    if [ "$(compare -metric AE "$work/ja.png" "$src/tests/golden/pictures/$name" null: 2>&1)" != 0 ]; then
      echo "skipped: this machine draws $name otherwise than the committed picture"
      continue
    fi
    "$prog" --snapshot "$work/en.png" --at "$t" --labels en || fail "English snapshot at $t"
    ae=$(compare -metric AE "$work/en.png" "$src/tests/golden/pictures/en/$name" null: 2>&1)
    [ "$ae" = 0 ] || fail "the English picture at $t: $ae pixels differ"
  done
fi

[ "$fails" -eq 0 ] || { echo "$fails failure(s)"; exit 1; }
echo "messages: all passed"
