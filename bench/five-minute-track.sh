# What the encoder benchmarks share. Sourced, never run: readies the build and the Wine session,
# takes the rounds from the first argument (at least 5), and has the recorder simulator capture
# a five-minute track ($wav) and a ten-second one for the warm-up ($warm) in a scratch folder
# ($work) that goes when the script ends.
source "$(dirname "${BASH_SOURCE[0]}")/../tools/env.sh"
qvl_ready_to_run
rounds=${1:-5}
[ "$rounds" -ge 5 ] || rounds=5
bin="$QVL_ROOT/build/x86_64/bin"
work=$(mktemp -d)
trap 'rm -rf "$work"; qvl_stop_session' EXIT
"$QVL_WINE" "$bin/recsim.exe" --capture "Z:$work" --speed max --sample-seconds 300 --no-cdtext >/dev/null
"$QVL_WINE" "$bin/recsim.exe" --capture "Z:$work" --speed max --sample-seconds 10 --no-cdtext >/dev/null
wav="$work/00000001/Track00.wav"
warm="$work/00000002/Track00.wav"
