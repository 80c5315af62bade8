#!/usr/bin/env bash
# "--export-ics" of a diary, read by an independent iCalendar reader (Python's
# icalendar module): every event with its date, local time and zone, alarm,
# state and yearly repeat; to a file and to standard output, with no display.
set -uo pipefail
program=$(realpath "$1")
python=/usr/bin/python3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if ! "$python" -c 'import icalendar' 2>/dev/null; then
  echo "SKIP: python3-icalendar is not installed"; exit 77
fi
# A runtime folder of its own: no running copy of the user's is asked to save.
export TALVO95_DATA_DIR=$work/data XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run TZ=America/New_York
mkdir -p "$TALVO95_DATA_DIR" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
# 5 January: an alarm at 09:30; 19 June: a locked whole day; 24 December: a
# cancelled event at 18:00 in Windows-1252; 1 March: a done event at 08:00.
"$python" - "$TALVO95_DATA_DIR/DIARY.DAT" <<'PY'
import sys
events = {(1, 5): [b"010930Dentist"], (6, 19): [b"100000Anna's birthday"],
          (12, 24): [b"031800Caf\xe9 \x80 with Zo\xeb"], (3, 1): [b"020800Tax return, filed"]}
text = b""
for month in range(1, 13):
    for day in range(1, 33):
        for line in events.get((month, day), []):
            text += line + b"\r\n"
        text += b"\xff\r\n"
open(sys.argv[1], "wb").write(text)
PY
failures=0
check() { # name, command...
  local name=$1; shift
  if "$@"; then echo "PASS: $name"; else failures=$((failures + 1)); echo "FAIL: $name"; fi
}

env -u DISPLAY -u WAYLAND_DISPLAY "$program" --export-ics "$work/diary.ics"
check "--export-ics ends with status 0 without a display" test $? -eq 0
env -u DISPLAY "$program" --export-ics - >"$work/stdout.ics"
check "--export-ics - writes to standard output" test $? -eq 0
check "both are the same calendar" cmp -s <(grep -v ^DTSTAMP "$work/diary.ics") <(grep -v ^DTSTAMP "$work/stdout.ics")
"$program" --export-ics "$work/missing/diary.ics" 2>"$work/error"
check "a folder that does not exist fails" test $? -eq 1
check "and says so" grep -q 'could not be written' "$work/error"

read_back=$("$python" - "$work/diary.ics" <<'PY'
import sys, icalendar
calendar = icalendar.Calendar.from_ical(open(sys.argv[1], "rb").read())
zones = [z["TZID"] for z in calendar.walk("VTIMEZONE")]
print("zones", *zones)
for event in sorted(calendar.walk("VEVENT"), key=lambda e: str(e["SUMMARY"])):
    start = event["DTSTART"].dt
    when = start.strftime("%m-%d %H:%M") if hasattr(start, "hour") else start.strftime("%m-%d")
    zone = start.tzinfo.zone if getattr(start, "tzinfo", None) is not None and hasattr(start.tzinfo, "zone") else "-"
    print("|".join([str(event["SUMMARY"]), when, zone, str(event.get("STATUS", "-")),
                    str(event.get("X-TALVO95-STATE", "-")), event["RRULE"].to_ical().decode() if "RRULE" in event else "-",
                    str(len(event.walk("VALARM")))]))
print("uids", len({str(e["UID"]) for e in calendar.walk("VEVENT")}))
PY
)
check "python3-icalendar reads the file" test $? -eq 0
expected="zones America/New_York
Anna's birthday|06-19|-|-|-|FREQ=YEARLY|0
Café € with Zoë|12-24 18:00|America/New_York|CANCELLED|CANCELLED|-|0
Dentist|01-05 09:30|America/New_York|-|-|-|1
Tax return, filed|03-01 08:00|America/New_York|-|DONE|-|0
uids 4"
check "every event reads back as it is in the diary" test "$read_back" = "$expected"
[ "$read_back" = "$expected" ] || diff <(echo "$expected") <(echo "$read_back")
echo "$failures failures"
[ "$failures" -eq 0 ]
