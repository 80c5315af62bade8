# The set-up that the tests starting the real program share; sourced as
#   source "$(dirname "$0")/../program_test_setup.sh" <program>
# A folder of their own for everything the program keeps (killed copies and
# the folder removed at the end), the offscreen platform, and the helpers.
set -uo pipefail
program=$(realpath "$1")
work=$(mktemp -d)
chmod 755 "$work"
pid=
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null; done
  chmod -R u+w "$work" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

export QT_QPA_PLATFORM=offscreen
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run XDG_CACHE_HOME=$work/cache
export XDG_STATE_HOME=$work/state TALVO95_DATA_DIR=$work/data
mkdir -p "$work/config/Quorral" "$work/run" "$work/data"
chmod 700 "$work/run"
cd "$work/data"
socket=$XDG_RUNTIME_DIR/TTalvoForm
failures=0 passes=0

check() { # name, command...
  local name=$1; shift
  if "$@"; then passes=$((passes + 1)); echo "PASS: $name"
  else failures=$((failures + 1)); echo "FAIL: $name"; fi
}

wait_for() { # seconds, command...: true once the command succeeds
  local limit=$(( $1 * 10 )); shift
  for _ in $(seq "$limit"); do "$@" && return 0; sleep 0.1; done
  return 1
}

gone() { ! kill -0 "$pid" 2>/dev/null; }

# Starts the program in the background with the arguments given; its pid is
# $pid. Waits until a socket of this copy's own is in place.
start() {
  local before
  before=$(stat -c %i "$socket" 2>/dev/null || echo none)
  "$program" "$@" >"$work/out.txt" 2>&1 &
  pid=$!
  pids+=("$pid")
  wait_for 30 eval '[ -S "$socket" ] && [ "$(stat -c %i "$socket")" != "$before" ]'
}

stop_with() { # signal: waits for the end (a copy still there after 30 s is killed), keeps the status
  kill -"$1" "$pid"
  wait_for 30 gone || kill -9 "$pid"
  wait "$pid"
  status=$?
}

finish() {
  echo "$passes passed, $failures failed"
  [ "$failures" -eq 0 ]
}
