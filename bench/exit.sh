#!/usr/bin/env bash
# Measures how long the program takes to end on SIGTERM with a 100,000-event
# DIARY.DAT: from the signal to the end of the process, which saves what
# changed and writes the window's place on the way out. Nothing changes in a
# run. With TALVO_BENCH_NOTES=1 the data folder also holds a 40 MB NOTES.DAT.
# Usage: bench/exit.sh <build dir> [runs]   (an optimised build: scripts/bench makes one)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(realpath "${1:-build-release}")
runs=${2:-9}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run
# The program keeps its data in its data folder, not where it starts.
export TALVO95_DATA_DIR=$work/data XDG_DATA_HOME=$work/share
mkdir -p "$work/config" "$work/run" "$work/data"
chmod 700 "$work/run"
cd "$work/data"

"$here/make_diary.py" DIARY.DAT
if [ "${TALVO_BENCH_NOTES:-}" = 1 ]; then
  "$here/make_notes.py" NOTES.DAT
fi
# A purge month, so no run shrinks the diary.
mkdir -p "$XDG_CONFIG_HOME/Quorral"
printf '[All]\nMonth=%d\n' "$(date +%-m)" >"$XDG_CONFIG_HOME/Quorral/Talvo95.ini"

size=$(stat -c %s DIARY.DAT)
times=()
for _ in $(seq "$runs"); do
  "$build/src/app/Talvo95" >/dev/null 2>&1 &
  pid=$!
  until [ -S "$XDG_RUNTIME_DIR/TTalvoForm" ] || [ -n "$(find "$XDG_RUNTIME_DIR" -type s 2>/dev/null)" ]; do sleep 0.05; done
  sleep 1.5
  start=$(date +%s%N)
  kill -TERM "$pid"
  wait "$pid" || true
  end=$(date +%s%N)
  times+=($(( (end - start) / 1000 )))
  rm -rf "${XDG_RUNTIME_DIR:?}"/*
done
if [ "$(stat -c %s DIARY.DAT)" != "$size" ]; then
  echo "# WARNING: DIARY.DAT changed size between runs ($size -> $(stat -c %s DIARY.DAT) bytes)"
fi
printf '%s\n' "${times[@]}" | sort -n | awk '{ t[NR] = $1 } END {
  printf "exit on SIGTERM, nothing changed, 100,000 events'"${TALVO_BENCH_NOTES:+ and 40 MB of notes}"', %d runs: min %.1f ms, median %.1f ms, max %.1f ms\n",
    NR, t[1] / 1000, t[int((NR + 1) / 2)] / 1000, t[NR] / 1000 }'
