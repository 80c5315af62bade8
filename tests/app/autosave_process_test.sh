#!/usr/bin/env bash
# What is typed survives a crash, and a save that cannot be written keeps the
# file whole: the real program on Xvfb, typed into with xdotool, killed with
# SIGKILL once the autosave has had its moment, and started again.
for tool in Xvfb openbox xdotool prlimit; do
  command -v "$tool" >/dev/null || { echo "SKIP: no $tool"; exit 77; }
done
source "$(dirname "$0")/../program_test_setup.sh" "$1"

Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
wait_for 10 test -s "$work/display" || { echo "FAIL: Xvfb did not start"; exit 1; }
export DISPLAY=:$(cat "$work/display") QT_QPA_PLATFORM=xcb
openbox >/dev/null 2>&1 &
pids+=($!)
# This month is purged already: no start changes the diary by itself.
printf '[All]\nMonth=%d\n' "$(date +%-m)" >"$XDG_CONFIG_HOME/Quorral/Talvo95.ini"

window() { xdotool search --onlyvisible --name '^Talvo95 - Quorral$' 2>/dev/null | head -1; }
shown() { test -n "$(window)"; }
# Types into today's first free row, description column, without ending the edit.
type_event() { # row (1-based), text
  local w
  w=$(window)
  xdotool windowactivate --sync "$w"
  xdotool key --window "$w" ctrl+Home
  for _ in $(seq 2 "$1"); do xdotool key --window "$w" Down; done
  xdotool key --window "$w" Right Right Right
  xdotool type --window "$w" --delay 30 "$2"
}
holds() { grep -aq "$1" DIARY.DAT 2>/dev/null; }

start
check "the window comes up" wait_for 60 shown
type_event 1 "Dentist at nine, Zoe"
check "the typed event is saved while the edit is open" wait_for 8 holds "Dentist at nine, Zoe"
kill -9 "$pid"; wait "$pid" 2>/dev/null
check "no temporary file is left by the kill" test ! -e DIARY.DAT.tmp
start
check "the window comes up" wait_for 60 shown
check "the restarted program reads it back" holds "Dentist at nine, Zoe"
stop_with TERM
check "and ends with status 0" test "$status" -eq 0
check "the event is still there after the exit" holds "Dentist at nine, Zoe"

# A full disk: a file-size limit just above the diary's size fails the save.
saved=$(md5sum <DIARY.DAT)
limit=$(( $(stat -c %s DIARY.DAT) + 8 ))
prlimit --fsize="$limit" "$program" >"$work/out.txt" 2>&1 &
pid=$!
pids+=("$pid")
check "the window comes up" wait_for 60 shown
type_event 2 "Lunch with the whole team on Friday"
sleep 4
check "a failed autosave leaves the saved diary as it was" test "$(md5sum <DIARY.DAT)" = "$saved"
check "and no temporary file" test ! -e DIARY.DAT.tmp
check "the program goes on" kill -0 "$pid"
# Closing the window saves as ever: the error box tells the user, and the
# window stays with the data.
xdotool windowactivate --sync "$(window)" key --clearmodifiers alt+F4
check "closing shows the error box" wait_for 10 eval 'xdotool search --onlyvisible --name "^Error$" >/dev/null'
check "the diary is still whole" test "$(md5sum <DIARY.DAT)" = "$saved"
kill -9 "$pid"; wait "$pid" 2>/dev/null
finish
