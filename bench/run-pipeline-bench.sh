#!/usr/bin/env bash
# Encodes five minutes of captured audio to MP3 through the pipeline and directly through
# lame_enc.dll, alternating, and prints the medians and their ratio.
set -euo pipefail
source "$(dirname "$0")/../tools/env.sh"
qvl_ready_to_run
bin="$QVL_ROOT/build/x86_64/bin"
work=$(mktemp -d)
trap 'rm -rf "$work"; qvl_stop_session' EXIT
"$QVL_WINE" "$bin/recsim.exe" --capture "Z:$work" --speed max --sample-seconds 300 --no-cdtext >/dev/null
"$QVL_WINE" "$bin/pipeline_bench.exe" "Z:$work\\00000001\\Track00.wav" "Z:$work" "${1:-5}"
