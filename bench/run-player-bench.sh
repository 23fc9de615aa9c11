#!/usr/bin/env bash
# The playback engine's processor time while it plays a five-minute WAV file (44.1 kHz, 16-bit
# stereo, made here) through the wave output: target under 3% of one core. Wine's sound goes to
# ALSA's null device through a home folder of the script's own, so no sound card is needed and
# nothing is heard.
#
#   run-player-bench.sh               builds and runs in the project's session (tools/env.sh)
#   run-player-bench.sh <bin folder>  runs an existing build in the caller's WINEPREFIX and DISPLAY
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if [ $# -ge 1 ]; then
  bin=$(cd "$1" && pwd)
  wine=/usr/lib/wine/wine64
  export WINEDEBUG=${WINEDEBUG:--all}
else
  source "$here/../tools/env.sh"
  qvl_ready_to_run
  bin="$QVL_ROOT/build/x86_64/bin"
  wine=$QVL_WINE
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/home"
printf 'pcm.!default { type file; slave.pcm "null"; file "/dev/null"; format "raw" }\n' >"$work/home/.asoundrc"
/usr/bin/python3 - "$work/five-minutes.wav" <<'PY'
import math, struct, sys
rate, seconds = 44100, 300
frames = rate * seconds
with open(sys.argv[1], "wb") as out:
    out.write(b"RIFF" + struct.pack("<I", 36 + frames * 4) + b"WAVEfmt " +
              struct.pack("<IHHIIHH", 16, 1, 2, rate, rate * 4, 4, 16) + b"data" + struct.pack("<I", frames * 4))
    second = b"".join(struct.pack("<hh", int(8000 * math.sin(2 * math.pi * 440 * i / rate)),
                                  int(8000 * math.sin(2 * math.pi * 660 * i / rate))) for i in range(rate))
    for _ in range(seconds):
        out.write(second)
PY
for equaliser in "" equaliser; do
  HOME="$work/home" "$wine" "$bin/player_bench.exe" "Z:$work/five-minutes.wav" $equaliser | tr -d '\r'
done
