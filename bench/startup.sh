#!/usr/bin/env bash
# Start-up beside an empty Qt Widgets window, and beside one with a line of
# text (the first text loads the fonts), under Xvfb with a session bus:
# the time to the first frame, as each process reports it itself
# (bench/FirstFrameReport.cpp, preloaded: from just before the launch to the first flush
# of the main window's backing store, and the processor time used by then,
# which a busy machine does not inflate), the resident memory once idle, and the
# CPU time used per second while idle with the window shown. Talvo95 runs with
# no diary, with a 100,000-event DIARY.DAT and with that diary beside a 40 MB
# NOTES.DAT (10,000 categories, 1,000,000 lines); the runs are interleaved.
# Usage: bench/startup.sh [build dir] [runs] [work folder]
#        (an optimised build: scripts/bench makes one in build-release)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(realpath "${1:-build-release}")
runs=${2:-7}
if [ -n "${3:-}" ]; then
  work=$3
else
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
fi
settle=${TALVO_BENCH_SETTLE:-3} # seconds from the first frame to the memory reading
idle=${TALVO_BENCH_IDLE:-5}     # seconds over which the idle CPU time is taken

if [ "${TALVO_STARTUP_INSIDE:-}" != 1 ]; then
  mkdir -p "$work/empty" "$work/full" "$work/notes"
  # A diary of 100,000 events spread over the year's slots.
  "$here/make_diary.py" "$work/full/DIARY.DAT"
  cp "$work/full/DIARY.DAT" "$work/notes/DIARY.DAT"
  "$build/bench/bench_make_notes" "$work/notes"
  # This month's purge marked as done, so no run shrinks the diary for the next.
  for data in empty full notes; do
    mkdir -p "$work/$data/config/Quorral"
    printf '[All]\nMonth=%d\n' "$(date +%-m)" >"$work/$data/config/Quorral/Talvo95.ini"
  done
  # Again, inside a virtual X server of its own, with a session bus as on every desktop.
  TALVO_STARTUP_INSIDE=1 dbus-run-session -- xvfb-run -a -s "-screen 0 1024x768x24" \
    "$0" "$build" "$runs" "$work" | python3 -c '
import statistics, sys
rows = {}
for line in sys.stdin:
    if line.startswith("#"):
        print(line.rstrip()); continue
    name, ms, frame_cpu, rss, cpu = line.split()
    rows.setdefault(name, []).append((float(ms), float(frame_cpu), int(rss) / 1024, float(cpu)))
def spread(values, unit, digits=1):
    return (f"min {min(values):.{digits}f} / median {statistics.median(values):.{digits}f} / "
            f"max {max(values):.{digits}f}{unit}")
figures = (("first frame", 0, " ms", 1), ("its CPU time", 1, " ms", 1), ("idle RSS", 2, " MB", 1),
    ("idle CPU", 3, " ms/s", 3))
for name, values in rows.items():
    print(f"{name} ({len(values)} runs)")
    for title, i, unit, digits in figures:
        print(f"  {title:12} {spread([v[i] for v in values], unit, digits)}")
def ratios(name, base_name):
    base = rows.get(base_name, [])
    print(f"{name} / {base_name} (ratio within each round)")
    for title, i, _, _ in figures[:3]:
        ratios = [v[i] / b[i] for v, b in zip(rows[name], base) if b[i] > 0]
        shown = spread(ratios, "x", 2)
        print(f"  {title:12} {shown}")
for name in rows:
    if name != "empty":
        ratios(name, "empty")
for name in rows:
    if name.startswith("talvo") and "text" in rows:
        ratios(name, "text")
if "talvo-notes" in rows:
    ratios("talvo-notes", "talvo-100k")
'
  exit
fi

measure() { # data folder, program and its arguments: prints "first-frame-ms its-cpu-ms rss-kB idle-cpu-ms-per-s"
  local data=$1 pid ms cpu rss before after
  local program=("${@:2}")
  cd "$work/$data"
  # The program keeps its data in its data folder, not where it starts.
  export XDG_CONFIG_HOME=$work/$data/config XDG_RUNTIME_DIR=$work/$data/run
  export TALVO95_DATA_DIR=$work/$data XDG_DATA_HOME=$work/$data/share
  mkdir -p "$XDG_RUNTIME_DIR"; chmod 700 "$XDG_RUNTIME_DIR"
  # No last minute kept, so the alarms of the minutes since the previous
  # run do not ring as missed at the start; the rest, the window's place
  # and size among them, stays as a user's later starts find it.
  sed -i '/^LastTick=/d' "$XDG_CONFIG_HOME/Quorral/Talvo95.ini"
  rm -f "$work/frame.txt"
  LD_PRELOAD=$build/bench/talvo95-first-frame.so TALVO95_REPORT_FIRST_FRAME=$EPOCHREALTIME \
    "${program[@]}" >/dev/null 2>"$work/frame.txt" &
  pid=$!
  for _ in $(seq 200); do
    grep -q '^first frame' "$work/frame.txt" 2>/dev/null && break
    sleep 0.05
  done
  ms=$(awk '/^first frame/ {print $3}' "$work/frame.txt")
  cpu=$(awk '/^first frame/ {print $6}' "$work/frame.txt")
  sleep "$settle"
  rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
  cputime() { cat /proc/"$pid"/task/*/schedstat | awk '{ns += $1} END {print ns}'; }
  before=$(cputime); sleep "$idle"; after=$(cputime)
  kill -TERM "$pid"; wait "$pid" 2>/dev/null || true
  echo "${ms:-nan} ${cpu:-nan} $rss $(awk -v a="$before" -v b="$after" -v s="$idle" 'BEGIN {printf "%.4f", (b - a) / 1e6 / s}')"
}

size=$(stat -c %s "$work/full/DIARY.DAT")
notes_size=$(stat -c %s "$work/notes/NOTES.DAT")
for _ in $(seq "$runs"); do
  echo "empty $(measure empty "$build/bench/bench_empty_window")"
  echo "text $(measure empty "$build/bench/bench_empty_window" --text)"
  echo "talvo-nodata $(measure empty "$build/src/app/Talvo95")"
  echo "talvo-100k $(measure full "$build/src/app/Talvo95")"
  echo "talvo-notes $(measure notes "$build/src/app/Talvo95")"
done
if [ "$(stat -c %s "$work/notes/NOTES.DAT")" != "$notes_size" ]; then
  echo "# WARNING: NOTES.DAT changed size between runs"
fi
if [ "$(stat -c %s "$work/full/DIARY.DAT")" != "$size" ]; then
  echo "# WARNING: DIARY.DAT changed size between runs ($size -> $(stat -c %s "$work/full/DIARY.DAT") bytes)"
fi
