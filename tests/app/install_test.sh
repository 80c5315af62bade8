#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop finds
# there. "tree": the program, menu entry, icons, metainfo and man page.
# "validate": the desktop's own validators on the installed files (exit 77,
# skipped, when neither is installed).
set -uo pipefail
build=$1 mode=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
failures=0 passes=0
check() { # name, command...
  local name=$1; shift
  if "$@"; then passes=$((passes + 1)); echo "PASS: $name"
  else failures=$((failures + 1)); echo "FAIL: $name"; fi
}

cmake --install "$build" --prefix "$prefix" >"$prefix.log" 2>&1 || { cat "$prefix.log"; rm -f "$prefix.log"; exit 1; }
rm -f "$prefix.log"
share=$prefix/share
desktop=$share/applications/com.quorral.Talvo95.desktop
metainfo=$share/metainfo/com.quorral.Talvo95.metainfo.xml

png_side() { # prints the width and height of a PNG file
  od -An -tu1 -j16 -N8 "$1" | awk '{ print $3 * 256 + $4 "x" $7 * 256 + $8 }'
}

if [ "$mode" = tree ]; then
  check "the program is in bin" test -x "$prefix/bin/Talvo95"
  check "it answers --version" test "$("$prefix/bin/Talvo95" --version)" = "Talvo95 1.0.0.0"
  check "the menu entry starts it, with a calendar file to import" grep -qx 'Exec=Talvo95 %f' "$desktop"
  check "the entry opens calendar files" grep -qx 'MimeType=text/calendar;' "$desktop"
  check "the menu entry is an office calendar" grep -qx 'Categories=Office;Calendar;' "$desktop"
  check "the entry pairs with the window's class" grep -qx 'StartupWMClass=Talvo95' "$desktop"
  check "the scalable icon is an SVG" grep -q '<svg' "$share/icons/hicolor/scalable/apps/Talvo95.svg"
  for side in 16 22 24 32 48 64 128 256; do
    icon=$share/icons/hicolor/${side}x${side}/apps/Talvo95.png
    check "the ${side}-pixel icon is ${side} pixels square" test "$(png_side "$icon" 2>/dev/null)" = "${side}x${side}"
  done
  check "the metainfo names the version" grep -q 'release version="1.0.0.0"' "$metainfo"
  check "the man page is installed" test -s "$share/man/man1/Talvo95.1"
else
  ran=0
  if command -v desktop-file-validate >/dev/null; then
    ran=1; check "desktop-file-validate" desktop-file-validate "$desktop"
  else echo "SKIP: desktop-file-validate is not installed"; fi
  if command -v appstreamcli >/dev/null; then
    ran=1; check "appstreamcli validate" appstreamcli validate --no-net "$metainfo"
  else echo "SKIP: appstreamcli is not installed"; fi
  [ "$ran" -eq 1 ] || exit 77
fi

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
