#!/usr/bin/env bash
# Starts the real program the way a user does, in a folder of its own, and
# checks what it leaves behind: one copy at a time, a save on every way out.
source "$(dirname "$0")/../program_test_setup.sh" "$1"

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

# A save cut short by a kill leaves its temporary file; the next start
# removes it, and only it.
head -c 300000 /dev/zero >NOTES.DAT.tmp
touch NOTES.DAT.tmp.keep
start
check "a stale NOTES.DAT.tmp is removed at start" wait_for 10 test ! -e NOTES.DAT.tmp
check "a file of another name is kept" test -e NOTES.DAT.tmp.keep

# A message box open (an unknown option is told in one) does not keep a
# signal from ending the program in order.
stop_with TERM
rm -f DIARY.DAT
start -unknown
sleep 1
begin=$(date +%s)
stop_with TERM
check "SIGTERM with a box open ends with status 0" test "$status" -eq 0
check "within seconds" test $(( $(date +%s) - begin )) -lt 5
check "and saves the diary" empty_diary

finish
