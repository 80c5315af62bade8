#!/usr/bin/env bash
# Calendars handed to a running copy, on a desktop (Xvfb, openbox) where the
# user answers with the keyboard: "--import-ics" and a file named alone end at
# once and the running copy asks; "--export-ics" has the running copy save
# first, and says so when it cannot.
source "$(dirname "$0")/../program_test_setup.sh" "$1"
for tool in Xvfb openbox xdotool python3 prlimit; do
  command -v "$tool" >/dev/null || { echo "SKIP: no $tool"; exit 77; }
done
Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
wait_for 10 test -s "$work/display" || { echo "FAIL: Xvfb did not start"; exit 1; }
export DISPLAY=:$(cat "$work/display") QT_QPA_PLATFORM=xcb TZ=Europe/Helsinki
openbox >/dev/null 2>&1 &
pids+=($!)

# Events a few days and weeks ahead, so they lie in the diary's year.
calendar() { # file, then day offset|time (hhmm or -)|summary ...
  python3 - "$@" <<'PY'
import sys, datetime
out, lines = sys.argv[1], ["BEGIN:VCALENDAR", "VERSION:2.0", "PRODID:-//Test//Handover//EN"]
for n, given in enumerate(sys.argv[2:]):
    offset, time, summary = given.split("|", 2)
    day = datetime.date.today() + datetime.timedelta(days=int(offset))
    start = day.strftime("%Y%m%d") + ("T%s00" % time if time != "-" else "")
    lines += ["BEGIN:VEVENT", "UID:handover-%d@test" % n, "DTSTAMP:20260101T000000Z",
              ("DTSTART:" if time != "-" else "DTSTART;VALUE=DATE:") + start,
              "SUMMARY:" + summary, "END:VEVENT"]
open(out, "w", encoding="utf-8", newline="").write("\r\n".join(lines + ["END:VCALENDAR", ""]))
PY
}
# The diary's text, whichever of its two forms the file is in.
diary_text() {
  python3 -c 'import sys; b = open(sys.argv[1], "rb").read()
print(b[3:].decode("utf-8") if b.startswith(b"\xef\xbb\xbf") else b.decode("cp1252"))' DIARY.DAT
}
in_diary() { [[ "$(diary_text)" == *"$1"* ]]; }
question() { xdotool search --onlyvisible --name '^Warning$' 2>/dev/null | head -1; }
asked() { [ -n "$(question)" ]; }
answer() { # key: answers the question the running copy shows
  wait_for 20 asked || return 1
  xdotool windowactivate --sync "$(question)" key --clearmodifiers "$1"
  wait_for 10 eval '! asked'
}
handed_over() { # arguments: the second copy ends at once, before anyone answers
  local begin=$SECONDS
  timeout 20 "$program" "$@" >/dev/null 2>&1 && [ $((SECONDS - begin)) -lt 10 ]
}

calendar "$work/trip.ics" "3|0930|Zahnarzt Dr. Öztürk – Füllung" "12|-|Jour férié, tout le jour"
calendar "$work/bare one.ics" "5|1745|Évora trip: ship at −5 °C"
calendar "$work/later.ics" "20|0800|Tax return"
check "the first copy starts" start
window_shown() { [ -n "$(xdotool search --onlyvisible --name '^Talvo95 - Quorral$' 2>/dev/null)" ]; }
wait_for 20 window_shown

check "--import-ics hands the file over and ends at once" handed_over --import-ics "$work/trip.ics"
check "the running copy asks, and Yes imports" answer Return
check "a calendar named alone is handed over too" handed_over "$work/bare one.ics"
check "No leaves the diary as it was" answer Escape

"$program" --export-ics "$work/out.ics" 2>"$work/error"
check "--export-ics has the running copy save, and ends with 0" test $? -eq 0
check "DIARY.DAT holds the imported events" in_diary "0930Zahnarzt Dr. Öztürk – Füllung"
check "with the whole day's event" in_diary "0000Jour férié, tout le jour"
check "the declined one is not imported" eval '! in_diary "Évora"'
check "the export holds what the running copy shows" grep -q '^SUMMARY:Zahnarzt Dr. Öztürk – F' "$work/out.ics"
check "the running copy goes on" kill -0 "$pid"

# A running copy that cannot save: nothing is exported, and the user is told why.
handed_over --import-ics "$work/later.ics" && answer Return
# (a limit on the size of the files it writes holds for root too)
prlimit --pid "$pid" --fsize=100:unlimited
"$program" --export-ics "$work/failed.ics" 2>"$work/error"
check "an export whose running copy cannot save ends with 1" test $? -eq 1
check "and writes no file" test ! -e "$work/failed.ics"
check "and says why" grep -q 'could not save its data.*diary could not be saved' "$work/error"
prlimit --pid "$pid" --fsize=unlimited

# A copy that does not answer (stopped) is waited for a bounded time.
kill -STOP "$pid"
begin=$SECONDS
timeout 30 "$program" --export-ics "$work/late.ics" 2>"$work/error"
status=$?
kill -CONT "$pid"
check "an export whose running copy does not answer ends with 1" test "$status" -eq 1
check "after at most about ten seconds" test $((SECONDS - begin)) -le 15
check "and says so" grep -q 'did not answer' "$work/error"

"$program" --export-ics "$work/out.ics" 2>"$work/error"
check "once it answers again, the export saves and succeeds" test $? -eq 0
check "with the event imported before" in_diary "0800Tax return"
stop_with TERM
check "the running copy ends in order" test "$status" -eq 0
finish
