#!/usr/bin/env bash
# Runs a command beside a Radicale calendar server of its own: on 127.0.0.1,
# on a free port, with a temporary storage folder, and stops it afterwards.
# Usage: radicale.sh [--auth USER:PASSWORD] command [arguments...]
# The command finds the server in TALVO_CALDAV_URL (and the account in
# TALVO_CALDAV_USER, TALVO_CALDAV_PASSWORD), its process in TALVO_RADICALE_PID
# and its storage folder in TALVO_RADICALE_STORAGE (collection-root/<path>).
set -euo pipefail

auth=
if [ "${1:-}" = "--auth" ]; then
  auth=$2
  shift 2
fi
[ $# -gt 0 ] || { echo "usage: $0 [--auth USER:PASSWORD] command..." >&2; exit 2; }
command -v radicale >/dev/null || { echo "radicale is not installed" >&2; exit 2; }

dir=$(mktemp -d)
pid=
cleanup() {
  if [ -n "$pid" ]; then
    kill -CONT "$pid" 2>/dev/null || true
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  fi
  rm -rf "$dir"
}
trap cleanup EXIT

port=$(/usr/bin/python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
{
  echo "[server]"
  echo "hosts = 127.0.0.1:$port"
  echo "[storage]"
  echo "filesystem_folder = $dir/collections"
  echo "[logging]"
  echo "level = warning"
  echo "mask_passwords = True"
  if [ -n "$auth" ]; then
    echo "$auth" >"$dir/users"
    echo "[auth]"
    echo "type = htpasswd"
    echo "htpasswd_filename = $dir/users"
    echo "htpasswd_encryption = plain"
    echo "[rights]"
    echo "type = owner_only"
  else
    printf '[all]\nuser: .*\ncollection: .*\npermissions: RrWw\n' >"$dir/rights"
    echo "[auth]"
    echo "type = none"
    echo "[rights]"
    echo "type = from_file"
    echo "file = $dir/rights"
  fi
} >"$dir/config"

radicale --config "$dir/config" >"$dir/log" 2>&1 &
pid=$!
for _ in $(seq 100); do
  if /usr/bin/python3 -c "import socket; socket.create_connection(('127.0.0.1', $port), 0.2)" 2>/dev/null; then
    break
  fi
  kill -0 "$pid" 2>/dev/null || { cat "$dir/log" >&2; exit 1; }
  sleep 0.1
done

export TALVO_CALDAV_URL="http://127.0.0.1:$port/"
export TALVO_CALDAV_USER=${auth%%:*}
export TALVO_CALDAV_PASSWORD=${auth#*:}
export TALVO_RADICALE_PID=$pid
export TALVO_RADICALE_STORAGE="$dir/collections"
status=0
"$@" || status=$?
if [ $status -ne 0 ]; then
  echo "--- Radicale's log:" >&2
  tail -n 30 "$dir/log" >&2
fi
exit $status
