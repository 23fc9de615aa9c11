#!/usr/bin/env bash
# Builds every dependency recipe (or the ones named) into $QVL_CACHE/prefix/<arch>.
# Each recipe is rebuilt only when it, lib.sh or the compiler changed.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
recipes=("$@")
[ ${#recipes[@]} -gt 0 ] || recipes=(googletest lame id3lib ffmpeg taglib mpg123)
for r in "${recipes[@]}"; do
  [ -f "$here/$r.sh" ] || { echo "deps: no recipe deps/$r.sh" >&2; exit 1; }
  (
    source "$here/lib.sh"
    source "$here/$r.sh"
    for arch in $DEP_ARCHES; do dep_run "$arch"; done
  )
done
