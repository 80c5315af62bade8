#!/usr/bin/env bash
# The layering check itself: every way of naming a folder above fails it, an
# include of a folder below or of a library passes.
set -uo pipefail
check=$(dirname "$0")/layering_check.sh
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree/base" "$tree/app"
status=0
for line in '#include "app/Form.h"' '#include <app/Form.h>' '#include "../app/Form.h"' \
  '  #  include "./../app/Form.h"'; do
  printf '%s\n' "$line" >"$tree/base/File.cpp"
  if bash "$check" "$tree" base app >/dev/null; then echo "FAIL: not caught: $line"; status=1; fi
done
printf '#include <QString>\n#include "base/File.h"\n#include "../base/File.h"\n' >"$tree/app/File.cpp"
printf '#include <vector>\n' >"$tree/base/File.cpp"
bash "$check" "$tree" base app >/dev/null || { echo "FAIL: a downward include was refused"; status=1; }
exit $status
