#!/usr/bin/env bash
# Measures, under Xvfb, how long the program takes until its main window is on
# screen with a 100,000-event DIARY.DAT, and how much memory it holds once idle,
# beside an empty Qt Widgets window started the same way.
# Usage: bench/startup.sh <build dir> [runs]   (an optimised build: scripts/bench makes one)
set -euo pipefail
build=$(realpath "${1:-build-release}")
runs=${2:-5}
if [ -n "${3:-}" ]; then
  work=$3
else
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
fi

# A diary of 100,000 events spread over the year's slots.
[ -f "$work/DIARY.DAT" ] || python3 - "$work/DIARY.DAT" <<'PY'
import sys
out = bytearray()
per_slot, rest = divmod(100_000, 372)
for slot in range(384):
    if slot % 32 != 31:
        count = per_slot + (1 if rest > 0 else 0)
        rest -= 1 if rest > 0 else 0
        for i in range(count):
            out += b"01%04d" % ((i * 7) % 2400) + b"An event of a busy diary %d\r\n" % i
    out += b"\xff\r\n"
open(sys.argv[1], "wb").write(out)
PY

measure() { # title, program...: prints "milliseconds rss-kB"
  local title=$1; shift
  local start end pid rss
  start=$(date +%s%N)
  "$@" >/dev/null 2>&1 &
  pid=$!
  # Asked every few milliseconds (xdotool's own --sync waits half a second between looks).
  until xdotool search --onlyvisible --name "$title" >/dev/null 2>&1; do sleep 0.005; done
  end=$(date +%s%N)
  sleep 3
  rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
  kill -TERM "$pid"; wait "$pid" 2>/dev/null || true
  echo "$(( (end - start) / 1000000 )) $rss"
}

if [ "${TALVO_STARTUP_INSIDE:-}" != 1 ]; then
  # Again, inside a virtual X server of its own.
  # A session bus, as every desktop has: without one, the tray would start its own.
  TALVO_STARTUP_INSIDE=1 dbus-run-session -- xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$build" "$runs" "$work" |
    python3 -c '
import statistics, sys
runs = {}
for line in sys.stdin:
    name, ms, rss = line.split()
    runs.setdefault(name, []).append((int(ms), int(rss)))
for name, values in runs.items():
    times = [ms for ms, _ in values]
    print(f"{name}: start-up median {statistics.median(times):.0f} ms (runs: {times}), "
          f"largest idle RSS {max(rss for _, rss in values) / 1024:.1f} MB")
'
  exit
fi

cd "$work"
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run
mkdir -p "$XDG_RUNTIME_DIR"; chmod 700 "$XDG_RUNTIME_DIR"
for _ in $(seq "$runs"); do
  echo "empty $(measure 'Empty Qt Window' "$build/bench/bench_empty_window")"
  echo "talvo $(measure 'Talvo95 - Quorral' "$build/src/app/Talvo95")"
done
