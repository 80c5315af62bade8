#!/usr/bin/env bash
# The real program and NOTES.DAT: a first start writes the default tree, a
# hand edit of the file is read at the next start and written back unchanged.
source "$(dirname "$0")/../program_test_setup.sh" "$1"

run_once() { # starts the program, waits for it to listen, ends it with SIGTERM (which saves)
  start
  stop_with TERM
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

finish
