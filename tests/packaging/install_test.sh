#!/usr/bin/env bash
# The suite as a machine gets it: `cmake --install` into a temporary prefix,
# then what a shop's user and the DOS host meet there, run from / with an
# environment that holds nothing the build set.
# install_test.sh <cmake> <build folder> <source folder>
set -euo pipefail
cmake=$1 build=$2 source=$3
work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
fail() { echo "FAIL: $*" >&2; exit 1; }
"$cmake" --install "$build" --prefix "$prefix" >/dev/null

[ "$(ls "$prefix/bin" | tr '\n' ' ')" = "jotwell repview sendwell tabulo webhop " ] || fail "bin/: $(ls "$prefix/bin")"

for program in repview webhop tabulo jotwell sendwell; do
  page=$prefix/share/man/man1/$program.1.gz
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null) || fail "$page: man failed"
  [ -z "$warnings" ] || fail "$page: $warnings"
  LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$page" | grep -q ZLT_DRIVES || fail "$page leaves out ZLT_DRIVES"
done

entry=$prefix/share/applications/repview.desktop
[ -z "$(desktop-file-validate "$entry" 2>&1)" ] || fail "$(desktop-file-validate "$entry" 2>&1)"
grep -qx 'Exec=repview' "$entry" || fail "the desktop entry does not start repview"
icon=$(sed -n 's/^Icon=//p' "$entry")
[ -s "$prefix/share/icons/hicolor/scalable/apps/$icon.svg" ] && [ -s "$prefix/share/icons/hicolor/48x48/apps/$icon.png" ] ||
  fail "no icon $icon"

for starter in REPVIEW WEBHOP TABULO JOTWELL SENDWELL; do
  file=$prefix/share/zlt/dos/$starter.BAT
  [ "$(grep -c $'\r$' "$file")" = "$(wc -l < "$file")" ] || fail "$file has lines without CR LF"
  grep -q "^UNIX .*${starter,,}" "$file" || fail "$file does not start ${starter,,}"
done

# A user's zlt.conf sets the drive map and the printer; the environment
# overrides the file. Sanitizer settings pass so the checked build runs too.
home=$work/home tree=$work/shop
mkdir -p "$home/xdg/zlt" "$tree/ZLT" "$work/bin" && cp "$source/samples/ZLT/RPT" "$tree/ZLT/RPT"
printf 'ZLT_DRIVES=F=%s\nREPVIEW_PRINTER=pdf:%s/from-file\n' "$tree" "$work" > "$home/xdg/zlt/zlt.conf"
run() { (cd / && env -i HOME="$home" XDG_CONFIG_HOME="$home/xdg" $(env | grep -E '^(A|LS|UB)SAN_OPTIONS=') "$@"); }
run "$prefix/bin/repview" 'F:\ZLT\RPT.' || fail "repview did not print through the user's zlt.conf"
pdftotext "$(ls "$work"/from-file/*.pdf | head -1)" - | grep -q . || fail "no report in $work/from-file"
run REPVIEW_PRINTER="pdf:$work/from-environment" "$prefix/bin/repview" 'F:\ZLT\RPT.' || fail "repview failed"
[ "$(ls "$work/from-environment" | wc -l)" = "$(ls "$work/from-file" | wc -l)" ] || fail "the environment did not win"

# Every setting the example zlt.conf documents is one the programs take.
sed 's/^#\([A-Z_]*=\)/\1/' "$prefix/etc/zlt/zlt.conf" > "$home/xdg/zlt/zlt.conf"
run "$prefix/bin/webhop" 2> "$work/webhop.txt" || fail "webhop failed"
! grep setting: "$work/webhop.txt" || fail "the example zlt.conf holds what the programs refuse"

# A new notes document carries the installed picture.
printf '#!/bin/sh\nexit 0\n' > "$work/bin/xdg-open" && chmod +x "$work/bin/xdg-open"
printf 'ZLT_DRIVES=F=%s\n' "$tree" > "$home/xdg/zlt/zlt.conf"
run PATH="$work/bin" "$prefix/bin/jotwell" 'F:\ZLT\,CS000002.DOC,Jane Citizen' || fail "jotwell failed"
tr -d '\r\n' < "$tree/ZLT/CS000002.DOC" | grep -qF "$(od -An -v -tx1 "$prefix/share/zlt/Kelvane.jpg" | tr -d ' \n')" ||
  fail "the notes do not hold the installed picture"
echo "install: all checks passed"
