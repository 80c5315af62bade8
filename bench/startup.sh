#!/usr/bin/env bash
# Measures, under Xvfb, how long the program takes until its main window is on
# screen with a 100,000-event DIARY.DAT, and how much memory it holds once idle,
# beside an empty Qt Widgets window started the same way.
# Usage: bench/startup.sh <build dir> [runs]   (an optimised build: scripts/bench makes one)
set -euo pipefail
build=$(realpath "${1:-build-release}")
runs=${2:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A diary of 100,000 events spread over the year's slots.
python3 - "$work/DIARY.DAT" <<'PY'
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
  xdotool search --sync --onlyvisible --name "$title" >/dev/null
  end=$(date +%s%N)
  sleep 3
  rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
  kill -TERM "$pid"; wait "$pid" 2>/dev/null || true
  echo "$(( (end - start) / 1000000 )) $rss"
}

run_all() {
  cd "$work"
  export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run
  mkdir -p "$XDG_RUNTIME_DIR"; chmod 700 "$XDG_RUNTIME_DIR"
  for _ in $(seq "$runs"); do
    echo "empty $(measure 'Empty Qt Window' "$build/bench/bench_empty_window")"
    echo "talvo $(measure 'Talvo95 - Quorral' "$build/src/app/Talvo95")"
  done
}
export -f measure run_all
export work build runs
xvfb-run -a -s "-screen 0 1024x768x24" bash -c run_all | awk '
  { ms[$1] = ms[$1] " " $2; if ($3 > rss[$1]) rss[$1] = $3 }
  END {
    for (k in ms) {
      n = split(ms[k], v, " "); asort(v)
      printf "%s: start-up median %d ms (runs:%s), largest idle RSS %.1f MB\n", k, v[int((n + 1) / 2)], ms[k], rss[k] / 1024
    }
  }'
