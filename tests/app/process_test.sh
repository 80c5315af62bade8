#!/usr/bin/env bash
# Starts the real program the way a user does, in a folder of its own, and
# checks what it leaves behind: one copy at a time, a save on every way out.
set -uo pipefail
program=$(realpath "$1")
work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT

export QT_QPA_PLATFORM=offscreen
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run TALVO95_DATA_DIR=$work/data
mkdir -p "$work/config" "$work/run" "$work/data"
chmod 700 "$work/run"
cd "$work/data"
socket=$XDG_RUNTIME_DIR/TTalvoForm
failures=0 passes=0

check() { # name, command...
  local name=$1; shift
  if "$@"; then passes=$((passes + 1)); echo "PASS: $name"
  else failures=$((failures + 1)); echo "FAIL: $name"; fi
}

inode() { stat -c %i "$socket" 2>/dev/null || echo none; }

start() { # waits until this copy's own socket is in place
  local before
  before=$(inode)
  "$program" "$@" >"$work/out.txt" 2>&1 &
  pid=$!
  pids+=("$pid")
  for _ in $(seq 100); do
    [ -S "$socket" ] && [ "$(inode)" != "$before" ] && return 0
    sleep 0.1
  done
  return 1
}

stop_with() { # signal; waits for the exit and keeps its status
  kill -"$1" "$pid"
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  wait "$pid"
  status=$?
}

empty_diary() {
  local expected
  expected=$(for _ in $(seq 384); do printf '\377\r\n'; done | md5sum)
  [ "$(md5sum < DIARY.DAT)" = "$expected" ]
}

# A first start with no files writes an empty diary on the way out.
check "first start listens" start
stop_with TERM
check "SIGTERM ends with status 0" test "$status" -eq 0
check "SIGTERM saves an empty diary of 384 separators" empty_diary
check "the window's place is written" grep -q '^WinLeft=' "$XDG_CONFIG_HOME/Quorral/Talvo95.ini"

# A second start asks the first to restore and ends at once.
start
begin=$(date +%s)
"$program" >/dev/null 2>&1
second=$?
check "a second start ends with status 0" test "$second" -eq 0
check "a second start ends at once" test $(( $(date +%s) - begin )) -lt 5
check "the first copy goes on" kill -0 "$pid"

# SIGINT and SIGHUP save too.
for sig in INT HUP; do
  rm -f DIARY.DAT
  stop_with "$sig"
  check "SIG$sig ends with status 0" test "$status" -eq 0
  check "SIG$sig saves the diary" empty_diary
  start
done

# A copy killed outright leaves its socket behind; the next start is not blocked.
kill -9 "$pid"; wait "$pid" 2>/dev/null
check "a crashed copy leaves its socket" test -e "$socket"
check "the next start listens again" start
"$program" >/dev/null 2>&1
check "and answers a second start" test $? -eq 0
stop_with TERM

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
