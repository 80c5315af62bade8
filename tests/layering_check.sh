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
  # Each hit as "file folder", the folder being the first one named after
  # any "../" and "./" steps; one sed for them all.
  while read -r file target; do
    [ -n "${rank[$target]+x}" ] || continue
    if [ "${rank[$target]}" -gt "${rank[$folder]}" ]; then
      echo "$file includes from $target/, which sits above $folder/"
      status=1
    fi
  done < <(grep -rnE "$include"'(\.\.?/)*[A-Za-z0-9_]+/' "$src/$folder" \
    | sed -E 's/^([^:]*):[0-9]+:[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]((\.\.?\/)*)([A-Za-z0-9_]+)\/.*/\1 \4/' || true)
done
[ $status -eq 0 ] && echo "Includes point down: $*"
exit $status
