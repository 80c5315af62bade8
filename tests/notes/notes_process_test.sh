#!/usr/bin/env bash
# The real program and NOTES.DAT: a first start writes the default tree, a
# hand edit of the file is read at the next start and written back unchanged.
set -uo pipefail
program=$(realpath "$1")
work=$(mktemp -d)
pid=
cleanup() {
  [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

export QT_QPA_PLATFORM=offscreen
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run
mkdir -p "$work/config" "$work/run" "$work/data"
chmod 700 "$work/run"
cd "$work/data"
socket=$XDG_RUNTIME_DIR/TTalvoForm
failures=0

check() { # name, command...
  local name=$1; shift
  if "$@"; then echo "PASS: $name"
  else failures=$((failures + 1)); echo "FAIL: $name"; fi
}

run_once() { # starts the program, waits for it to listen, ends it with SIGTERM (which saves)
  rm -f "$socket"
  "$program" >"$work/out.txt" 2>&1 &
  pid=$!
  for _ in $(seq 100); do [ -S "$socket" ] && break; sleep 0.1; done
  kill -TERM "$pid"
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  wait "$pid"
  local status=$?
  pid=
  return $status
}

header() { # level, view, name
  printf '\377%s%s' "$1" "$2"
  for _ in $(seq 10); do printf '0064'; done
  printf '%s\r\n' "$3"
}

check "a first start ends cleanly" run_once
{
  header 1 0 "My Notes"
  header 2 0 "@Address Books"
  header 3 0 Business
  header 3 0 Services
  header 3 0 Personal
  header 2 0 "@To Do"
  header 3 0 Work
  header 3 0 Home
} >"$work/default.dat"
check "it writes the default tree, byte for byte" cmp -s NOTES.DAT "$work/default.dat"

# By hand: a line of text for the root, a table category with a wide column
# and a text with an empty line.
{
  header 1 0 "My Notes"
  printf 'Call Jo\r\n'
  header 2 1 "Phone List"
  printf 'Name\tPhone\r\nJo\t555 1234\r\n\r\nAl\t555 9876\r\n'
  header 2 0 "@To Do"
  header 3 0 Work
} >"$work/edited.dat"
cp "$work/edited.dat" NOTES.DAT
check "a second start ends cleanly" run_once
check "the hand edit is read and written back unchanged" cmp -s NOTES.DAT "$work/edited.dat"
check "no temporary file is left" test ! -e NOTES.DAT.tmp

[ "$failures" -eq 0 ]
