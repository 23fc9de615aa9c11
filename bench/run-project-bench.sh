#!/usr/bin/env bash
# Saves and loads the project file of 1,000 discs with 15 tracks each and prints the medians
# against the targets, then the program's own parser and index against the system DOM searched for each element.
set -euo pipefail
source "$(dirname "$0")/../tools/env.sh"
qvl_ready_to_run
work=$(mktemp -d)
trap 'rm -rf "$work"; qvl_stop_session' EXIT
"$QVL_WINE" "$QVL_ROOT/build/x86_64/bin/project_bench.exe" "Z:$work" "${1:-5}"
