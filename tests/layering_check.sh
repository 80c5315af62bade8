#!/usr/bin/env bash
# Fails when a file under src/ includes from a folder above its own, however
# the include names it: "folder/...", <folder/...> or "../folder/...".
# Usage: layering_check.sh <src folder> <folder>... (the folders from the bottom up)
set -euo pipefail
src=$1
shift
declare -A rank
i=0
for folder in "$@"; do
  rank[$folder]=$i
  i=$((i + 1))
done

status=0
include='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]'
for folder in "$@"; do
  [ -d "$src/$folder" ] || continue
  while IFS= read -r hit; do
    file=${hit%%:*}
    # The first folder named after any "../" and "./" steps.
    target=$(sed -E 's/.*#[[:space:]]*include[[:space:]]*[<"]((\.\.?\/)*)([A-Za-z0-9_]+)\/.*/\3/' <<<"$hit")
    [ -n "${rank[$target]+x}" ] || continue
    if [ "${rank[$target]}" -gt "${rank[$folder]}" ]; then
      echo "$file includes from $target/, which sits above $folder/"
      status=1
    fi
  done < <(grep -rnE "$include"'(\.\.?/)*[A-Za-z0-9_]+/' "$src/$folder" || true)
done
[ $status -eq 0 ] && echo "Includes point down: $*"
exit $status
