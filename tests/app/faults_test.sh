#!/usr/bin/env bash
# Starts the real program against faults a user's machine can have, and checks
# that nothing typed is lost: a settings file that cannot be written, a save
# that is blocked, a file-size limit, a diary that is a link, a single-instance
# folder taken by another user. Waits are generous: CI machines can be busy.
source "$(dirname "$0")/../program_test_setup.sh" "$1"
prefix=()

start() { # starts the program (behind the commands in $prefix), waits for its socket
  rm -f "$socket"
  "${prefix[@]}" "$program" >"$work/out.txt" 2>&1 &
  pid=$!
  pids+=("$pid")
  wait_for 30 test -S "$socket"
}

stop_with_term() { stop_with TERM; }

# A diary of 100,000 events, as the program writes it.
python3 - big.dat <<'PY'
import sys
out = bytearray()
for slot in range(384):
    for i in range(100_000 // 384 + (1 if slot < 100_000 % 384 else 0)):
        out += b"01%04d" % ((i * 7) % 2400) + b"Event %d\r\n" % i
    out += b"\xff\r\n"
open(sys.argv[1], "wb").write(out)
PY
big_sum=$(md5sum < big.dat)
diary_is_big() { [ "$(md5sum < DIARY.DAT)" = "$big_sum" ]; }

# 1. The settings file cannot be written: the exit still ends, the diary whole.
cp big.dat DIARY.DAT
if [ "$(id -u)" -eq 0 ]; then
  mkdir "$XDG_CONFIG_HOME/Quorral/Talvo95.ini" # root writes through permission bits
else
  chmod 555 "$XDG_CONFIG_HOME/Quorral"
fi
touch -d '2000-01-01' DIARY.DAT
stamp=$(stat -c %i.%Y DIARY.DAT)
for round in 1 2; do
  start
  stop_with_term
  check "unwritable settings, exit $round ends with status 0" test "$status" -eq 0
  check "unwritable settings, exit $round keeps the 100,000 events" diary_is_big
done
check "an unchanged diary is not written again" test "$(stat -c %i.%Y DIARY.DAT)" = "$stamp"
chmod 755 "$XDG_CONFIG_HOME/Quorral"
rm -rf "$XDG_CONFIG_HOME/Quorral/Talvo95.ini"

# A diary the program does not hold as it is (LF line ends) must be saved at the
# exit; one that it holds exactly is not written again.
# 2. A blocked save: asked to end by a signal, the program keeps what it could
# not save as an emergency copy and ends; where no copy can be kept either, it
# stays, with its data, until the save can be made.
printf '010930Dentist\n' >DIARY.DAT
for _ in $(seq 384); do printf '\377\n' >>DIARY.DAT; done
before=$(md5sum < DIARY.DAT)
mkdir DIARY.DAT.tmp
start
stop_with_term
check "a blocked save ends the program after a signal" test "$status" -eq 0
check "a blocked save leaves the file as it was" test "$(md5sum < DIARY.DAT)" = "$before"
copies=("$XDG_STATE_HOME"/Talvo95/recovered/DIARY.DAT.*)
check "an emergency copy holds the unsaved diary" grep -q Dentist "${copies[0]}"
start
check "the next start tells where the copy is" \
  wait_for 10 test ! -e "$XDG_STATE_HOME/Talvo95/recovered/TOLD-AT-START.txt"
stop_with_term
touch "$work/blocked-state"
export XDG_STATE_HOME=$work/blocked-state
start
kill -TERM "$pid"
sleep 2
check "with no copy possible either the program keeps running" kill -0 "$pid"
check "and the file stays as it was" test "$(md5sum < DIARY.DAT)" = "$before"
rmdir DIARY.DAT.tmp
stop_with_term
check "once unblocked, a signal saves and ends" test "$status" -eq 0
check "and the diary is saved" grep -q Dentist DIARY.DAT

# 3. A file-size limit: the write fails, the program neither dies nor leaves a temporary file.
tr -d '\r' <big.dat >DIARY.DAT
lf_sum=$(md5sum < DIARY.DAT)
prefix=(prlimit --fsize=1000000:unlimited --)
start
prefix=()
kill -TERM "$pid"
sleep 2
check "a file-size limit does not kill the program" kill -0 "$pid"
check "a file-size limit leaves no temporary file" test ! -e DIARY.DAT.tmp
check "a file-size limit leaves the diary whole" test "$(md5sum < DIARY.DAT)" = "$lf_sum"
prlimit --pid "$pid" --fsize=unlimited
stop_with_term
check "with the limit lifted the exit saves" diary_is_big

# 4. A diary that is a symbolic link is saved through it.
mkdir -p real
printf '000000Linked\n' >real/diary.dat
for _ in $(seq 384); do printf '\377\n' >>real/diary.dat; done
rm -f DIARY.DAT
ln -s real/diary.dat DIARY.DAT
rm -f real/diary.dat.sum
start
touch -d '2000-01-01' real/diary.dat
stop_with_term
check "a linked diary stays a link" test -L DIARY.DAT
check "and its target receives the save" test "$(stat -c %Y real/diary.dat)" -gt 946771200
check "with the events" grep -q Linked real/diary.dat
rm -f DIARY.DAT

# 5. Another user takes the single-instance folder before us (as root only).
if [ "$(id -u)" -eq 0 ] && id nobody >/dev/null 2>&1 && command -v setpriv >/dev/null; then
  mkdir -m 1777 "$work/tmp"
  squat=$work/tmp/Talvo95-0
  mkdir -m 777 "$work/nobody"
  setpriv --reuid=nobody --regid=nogroup --clear-groups mkdir -m 700 "$squat"
  (cd "$work/nobody" && exec env XDG_RUNTIME_DIR="$squat" XDG_CONFIG_HOME="$work/nobody" \
    setpriv --reuid=nobody --regid=nogroup --clear-groups "$program" >/dev/null 2>&1) &
  squatter=$!
  pids+=("$squatter")
  check "another user's copy listens in the folder we would use" \
    wait_for 30 test -S "$squat/TTalvoForm"
  unset XDG_RUNTIME_DIR
  export TMPDIR=$work/tmp
  socket=$XDG_CACHE_HOME/Talvo95/TTalvoForm
  check "our copy starts all the same, in a folder of its own" start
  sleep 1
  check "and goes on running" kill -0 "$pid"
  stop_with_term
  check "and ends in order" test "$status" -eq 0
  kill -TERM "$squatter"
else
  echo "SKIP: the taken single-instance folder needs root and the user nobody"
fi

finish
