#!/usr/bin/env bash
# Installs what is missing, builds Quaverlane and runs it under Wine with a burn: the recorder
# simulator writes the built-in sample disc (or the CDRWIN cue sheet given as the first argument,
# with its WAV files) into the capture folder while Quaverlane, started hidden, watches it.
# Quaverlane decides when each track is complete, reads the burn's CD-TEXT, encodes, names and
# tags every track and deletes the captured WAV. The files it produced are then listed with the
# tags read back from them by mutagen, the manager window that lists them is shown and pictured,
# and Quaverlane is asked to exit as a user would.
set -euo pipefail
source "$(dirname "$0")/env.sh"
cue=${1:-}
[ -z "$cue" ] || [ -f "$cue" ] || { echo "run-main: no cue sheet $cue" >&2; exit 1; }
qvl_ready_to_run

bin="$QVL_ROOT/build/x86_64/bin"
capture='C:\Quaverlane\Capture'
"$QVL_WINE" reg add 'HKLM\Software\Quaverlane' /v TempFolder /t REG_SZ /d "$capture" /f >/dev/null 2>&1
documents="$WINEPREFIX/drive_c/users/$(id -un)/Documents"
output="$documents/My Music/Quaverlane"
stamp=$(mktemp)
trap 'rm -f "$stamp"; qvl_stop_session' EXIT

echo "== Starting Quaverlane /silence (capture folder $capture)"
"$QVL_WINE" "$bin/Quaverlane.exe" /silence >/dev/null 2>&1 </dev/null &
app=$!
"$QVL_WINE" "$bin/qvlctl.exe" wait 30000

# The status window pops up at the corner of the screen while a track is encoded: a picture of
# it is kept in the screenshots folder.
shots="$QVL_ROOT/build/x86_64/screenshots/main-job"
mkdir -p "$shots"
rm -f "$shots/status-window.bmp" "$shots/status-window.png"
"$QVL_WINE" "$bin/qvlctl.exe" snap "Quaverlane Status" "$("$QVL_WINE" winepath -w "$shots/status-window.bmp" 2>/dev/null)" 120000 \
  >/dev/null 2>&1 </dev/null &
snap=$!

echo "== Burning ${cue:-the built-in sample disc} at 52x"
if [ -n "$cue" ]; then
  burn=$("$QVL_WINE" "$bin/recsim.exe" --cue "$("$QVL_WINE" winepath -w "$cue" 2>/dev/null)" --speed 52)
else
  burn=$("$QVL_WINE" "$bin/recsim.exe" --speed 52 --sample-seconds 10)
fi
burn=$(printf '%s' "$burn" | tr -d '\r' | tail -n 1)
echo "$burn"
burn_unix=$("$QVL_WINE" winepath -u "$burn" 2>/dev/null)

# Each captured WAV is deleted once its track is finished; the last track is taken as complete
# after five quiet seconds.
echo "== Waiting until every captured track is converted"
for _ in $(seq 1 600); do
  [ -z "$(find "$burn_unix" -maxdepth 1 -iname '*.wav' -print -quit 2>/dev/null)" ] && break
  sleep 0.2
done

if wait "$snap" && /usr/bin/convert "$shots/status-window.bmp" "$shots/status-window.png" 2>/dev/null; then
  rm -f "$shots/status-window.bmp"
  echo "== The status window while a track was encoded: $shots/status-window.png"
else
  echo "== No picture of the status window was taken"
fi

# The manager window lists the disc that the burn became: a picture of it goes beside the other.
"$QVL_WINE" "$bin/qvlctl.exe" show >/dev/null 2>&1 </dev/null
rm -f "$shots/manager-window.bmp" "$shots/manager-window.png"
if "$QVL_WINE" "$bin/qvlctl.exe" snap "Quaverlane Manager" "$("$QVL_WINE" winepath -w "$shots/manager-window.bmp" 2>/dev/null)" 10000 \
  >/dev/null 2>&1 </dev/null && /usr/bin/convert "$shots/manager-window.bmp" "$shots/manager-window.png" 2>/dev/null; then
  rm -f "$shots/manager-window.bmp"
  echo "== The manager window after the burn: $shots/manager-window.png"
fi

echo "== Files produced below $output"
find "$output" -type f \( -iname '*.mp3' -o -iname '*.wav' \) -newer "$stamp" -print0 |
  sort -z | xargs -0 -r /usr/bin/python3 "$QVL_ROOT/tools/show-tags.py" "$output"

echo "== Asking Quaverlane to exit"
"$QVL_WINE" "$bin/qvlctl.exe" exit 30000
wait "$app" || true
tail -n 1 "$documents/Quaverlane/qvl.log"
