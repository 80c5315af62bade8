#!/usr/bin/env bash
# The real program's alarms on a desktop: Xvfb with openbox and no tray, a
# session bus of its own with a real notification daemon (dunst), the clock
# set just before an alarm with libfaketime, so nothing waits for a real
# minute. The daemon is read back with dunstctl.
set -uo pipefail
program=$(realpath "$1")
faketime_lib=$(ls /usr/lib/*/faketime/libfaketime.so.1 2>/dev/null | head -1)
for tool in Xvfb openbox dunst dunstctl dbus-run-session dbus-send xdotool; do
  command -v "$tool" >/dev/null || { echo "SKIP: no $tool"; exit 77; }
done
[ -n "$faketime_lib" ] || { echo "SKIP: no libfaketime"; exit 77; }
# A session bus of the test's own, ended with it.
if [ -z "${TALVO_TEST_SESSION:-}" ]; then
  exec env TALVO_TEST_SESSION=1 dbus-run-session -- bash "$0" "$@"
fi

work=$(mktemp -d)
pids=()
cleanup() {
  { for p in "${pids[@]}"; do kill -9 "$p"; done; wait; } 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
failures=0 passes=0
check() { # name, command...
  local name=$1; shift
  if "$@"; then passes=$((passes + 1)); echo "PASS: $name"
  else failures=$((failures + 1)); echo "FAIL: $name"; fi
}
# Waits up to ten seconds for a command to succeed (WAIT tenths of a second).
until_ok() {
  for _ in $(seq "${WAIT:-100}"); do "$@" && return 0; sleep 0.1; done
  return 1
}

Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
until_ok test -s "$work/display" || { echo "FAIL: Xvfb did not start"; exit 1; }
export DISPLAY=:$(cat "$work/display")
openbox >/dev/null 2>&1 &
pids+=($!)
# Chosen from the context menu of the notifications: "Snooze".
printf '#!/bin/sh\ngrep -m1 Snooze\n' >"$work/choose"
chmod +x "$work/choose"
printf '[global]\n    dmenu = %s\n' "$work/choose" >"$work/dunstrc"
dunst -config "$work/dunstrc" >/dev/null 2>&1 &
pids+=($!)
# Asked only once dunst holds its name: a question before would start another.
has_server() {
  dbus-send --session --print-reply=literal --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner string:org.freedesktop.Notifications 2>/dev/null | grep -q true
}
until_ok has_server || { echo "FAIL: dunst did not start"; exit 1; }

export QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run TALVO95_DATA_DIR=$work/data
mkdir -p "$work/config/Quorral" "$work/run" "$work/data"
chmod 700 "$work/run"
ini=$work/config/Quorral/Talvo95.ini
printf '[All]\nRemindBefore=2\n' >"$ini"
# Two alarms on 15 June: slot (month - 1) * 32 + day - 1 of the diary's 384.
for slot in $(seq 0 383); do
  [ "$slot" -eq 174 ] && printf '011430Dentist at the clinic\r\n011432Call Bob\r\n'
  printf '\377\r\n'
done >"$work/data/DIARY.DAT"

start_at() { # the time the program's clock starts from
  LD_PRELOAD=$faketime_lib FAKETIME="@$1" FAKETIME_DONT_FAKE_MONOTONIC=1 \
    "$program" >>"$work/out.txt" 2>&1 &
  pid=$!
  pids+=("$pid")
}
# The summaries and bodies of the notices closed so far, one a line.
history() { dunstctl history | grep -A2 -E '"(summary|body|appname)"' | sed -n 's/.*"data" : "\(.*\)"/\1/p'; }
shown() { [ "$(dunstctl count displayed)" -ge "$1" ]; }
notes() { xdotool search --onlyvisible --class Talvo95 2>/dev/null | wc -l; }

# A reminder at start, then the alarm with its note, its notification and sound.
start_at "2026-06-15 14:29:50"
WAIT=300 check "the reminder and the alarm are shown" until_ok shown 2
check "the alarm's note is up beside the window" until_ok test "$(notes)" -eq 2
sleep 0.5
# Snooze from the notification's context menu: the note closes, the snooze is kept.
dunstctl context
check "snooze from the notification is kept in Snoozed.txt" \
  until_ok grep -qs '^[0-9]* 2026-06-15 14:30 Dentist at the clinic' "$work/data/Snoozed.txt"
check "snoozing closes the note" until_ok test "$(notes)" -eq 1
dunstctl close-all
history >"$work/history1"
check "the reminder came first" grep -qx "In 1 minute: 14:30 Dentist at the clinic" "$work/history1"
check "the alarm's notification names the program" grep -qx "Talvo95" "$work/history1"
check "the alarm's notification has the time and text" grep -qx "14:30 Dentist at the clinic" "$work/history1"
check "the next alarm is reminded of" grep -qx "In 2 minutes: 14:32 Call Bob" "$work/history1"

# Without a tray the window closes and the program runs on, saying so once.
window=$(xdotool search --onlyvisible --name "Talvo95 - Quorral" | head -1)
xdotool windowactivate --sync "$window" key alt+F4
check "closing the window leaves the program running" until_ok grep -q '^BackgroundTold=1' "$ini"
check "the program is still running" kill -0 "$pid"
check "the notice of running on is shown" until_ok shown 1
dunstctl close-all
check "the notice says how to quit" grep -q "choose Exit in its Menu" <(history)

# Stopped before the next alarm and started after it: the snooze rings again
# and the alarm of 14:32 is shown as missed.
kill -TERM "$pid"
check "the program ends" until_ok bash -c "! kill -0 $pid 2>/dev/null"
check "the last minute handled is kept" grep -q '^LastTick=' "$ini"
dunstctl history-clear 2>/dev/null
start_at "2026-06-15 14:40:20"
check "the snoozed and the missed alarm are shown" until_ok shown 2
check "the notes of both are up" until_ok test "$(notes)" -eq 3
dunstctl close-all
history >"$work/history2"
check "the snoozed alarm rings again" grep -qx "Alarm, snoozed" "$work/history2"
check "one notice lists the missed alarm" grep -qx "1 missed alarm" "$work/history2"
check "the missed alarm is named" grep -qx "14:32 Call Bob" "$work/history2"
check "dismissing the notifications closes the notes" until_ok test "$(notes)" -eq 1
check "nothing is left snoozed" test ! -s "$work/data/Snoozed.txt"
kill -TERM "$pid"
until_ok bash -c "! kill -0 $pid 2>/dev/null"
[ -s "$work/out.txt" ] && { echo "The program's output:"; cat "$work/out.txt"; }

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
