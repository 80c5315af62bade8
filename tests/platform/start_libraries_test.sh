#!/usr/bin/env bash
# The program starts without the libraries it needs only now and then: the
# event sound library (loaded with the first alarm sound) and the serial port
# library (loaded with the first port opened).
set -euo pipefail
libraries=$(ldd "$1")
status=0
for unwanted in libcanberra libQt6SerialPort libudev; do
  if grep -q "$unwanted" <<<"$libraries"; then
    echo "FAIL: $1 loads $unwanted at start"
    status=1
  fi
done
exit $status
