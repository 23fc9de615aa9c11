#!/usr/bin/env bash
# A home folder whose ALSA configuration sends the default device into a raw capture file with no
# sound card behind it: the engine tests read back what the program played.
set -euo pipefail
home=$1
mkdir -p "$home"
cat >"$home/.asoundrc" <<ASOUNDRC
pcm.!default { type file; slave.pcm "null"; file "$home/capture.raw"; format "raw" }
ASOUNDRC
: >"$home/capture.raw"
