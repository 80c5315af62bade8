#!/usr/bin/env bash
# The real program's command line and data folder: "--help" and "--version"
# answer on the terminal and leave a running copy alone; the files live in the
# data folder whatever folder the program is started from.
source "$(dirname "$0")/../program_test_setup.sh" "$1"
export XDG_DATA_HOME=$work/share
unset TALVO95_DATA_DIR
mkdir -p "$work/elsewhere"
cd "$work/elsewhere"

stop() {
  stop_with TERM
  pid=
}

# Answers without a display at all.
version=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$program" --version)
check "--version ends with status 0" test $? -eq 0
check "--version prints the version" test "$version" = "Talvo95 1.0.0.0"
help=$(env -u DISPLAY QT_QPA_PLATFORM=xcb "$program" -NOTRAY --help)
check "--help ends with status 0" test $? -eq 0
check "--help prints the usage" grep -q '^Usage: Talvo95 \[-NOTRAY\] \[--hidden\]' <<<"$help"

# A running copy is neither replaced nor asked to restore.
start
sleep 1
before=$(stat -c %i "$socket")
for argument in --help --version; do
  timeout 5 "$program" "$argument" >/dev/null
  check "$argument beside a running copy ends with status 0" test $? -eq 0
done
check "the running copy goes on" kill -0 "$pid"
check "and keeps its socket" test "$(stat -c %i "$socket")" = "$before"
stop

default=$XDG_DATA_HOME/Quorral/Talvo95
check "the data folder is created on first use" test -d "$default"
check "the diary is saved there" test -s "$default/DIARY.DAT"
check "not in the working folder" test ! -e DIARY.DAT

# A diary with a done event on the 28th of this month, in a folder of its own.
month=$((10#$(date +%m)))
slot=$(( (month - 1) * 32 + 27 ))
mkdir -p "$work/mine"
for s in $(seq 0 383); do
  [ "$s" -eq "$slot" ] && printf '020930Dentist\r\n'
  printf '\377\r\n'
done >"$work/mine/DIARY.DAT"
mkdir -p "$work/other"
cd "$work/other"
export TALVO95_DATA_DIR=../mine
start
sleep 1
cd "$work/elsewhere"
stop
check "TALVO95_DATA_DIR ends with status 0" test "$status" -eq 0
check "the diary in TALVO95_DATA_DIR was found and saved back" grep -qa '^020930Dentist' "$work/mine/DIARY.DAT"
check "a relative TALVO95_DATA_DIR is taken from the starting folder" test ! -e "$work/other/DIARY.DAT" -a ! -e "$work/mine/mine"

# On X11 the title bar shows the title once, and the window's class is the
# one the menu entry pairs with (StartupWMClass).
if command -v xvfb-run >/dev/null && command -v xdotool >/dev/null; then
  unset TALVO95_DATA_DIR
  titles=$(QT_QPA_PLATFORM=xcb xvfb-run -a bash -c '
    "$1" -NOTRAY >/dev/null 2>&1 & p=$!
    for _ in $(seq 100); do
      ids=$(xdotool search --onlyvisible --classname "^Talvo95$" 2>/dev/null) && break
      sleep 0.1
    done
    for id in $ids; do xdotool getwindowname "$id"; done
    kill $p; wait $p' _ "$program")
  check "the title bar shows the title once" grep -qx 'Talvo95 - Quorral' <<<"$titles"
  check "no title has the name added" test "$(grep -c 'Talvo95$' <<<"$titles")" -eq 0
else
  echo "SKIP: xvfb-run or xdotool is not installed"
fi

finish
