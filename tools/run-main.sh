#!/usr/bin/env bash
# Installs what is missing, builds Quaverlane and runs it under Wine with a burn: the recorder
# simulator writes the built-in sample disc (or the CDRWIN cue sheet given as the first argument,
# with its WAV files) into the capture folder while Quaverlane watches it. Quaverlane decides
# when each track is complete, reads the burn's CD-TEXT and hands every track to its finishing
# step; the hand-over journal shows each track as it is handed over. Then Quaverlane is asked to
# exit the way a user would (Exit, then Yes).
set -euo pipefail
source "$(dirname "$0")/env.sh"
cue=${1:-}
[ -z "$cue" ] || [ -f "$cue" ] || { echo "run-main: no cue sheet $cue" >&2; exit 1; }
qvl_ready_to_run

bin="$QVL_ROOT/build/x86_64/bin"
capture='C:\Quaverlane\Capture'
journal='C:\Quaverlane\handover.txt'
"$QVL_WINE" reg add 'HKLM\Software\Quaverlane' /v TempFolder /t REG_SZ /d "$capture" /f >/dev/null 2>&1
journal_unix="$WINEPREFIX/drive_c/Quaverlane/handover.txt"
log_unix="$WINEPREFIX/drive_c/users/$(id -un)/Documents/Quaverlane/qvl.log"
mkdir -p "$(dirname "$journal_unix")"
rm -f "$journal_unix"

echo "== Starting Quaverlane (capture folder $capture)"
QVL_HANDOVER_JOURNAL="$journal" "$QVL_WINE" "$bin/Quaverlane.exe" >/dev/null 2>&1 </dev/null &
app=$!
"$QVL_WINE" "$bin/qvlctl.exe" wait 30000
echo "== Its start-up report"
sed -n "/Software Information:/,\$p" "$log_unix" | tail -n 15

echo "== Burning ${cue:-the built-in sample disc} at 52x"
if [ -n "$cue" ]; then
  burn=$("$QVL_WINE" "$bin/recsim.exe" --cue "$("$QVL_WINE" winepath -w "$cue" 2>/dev/null)" --speed 52)
else
  burn=$("$QVL_WINE" "$bin/recsim.exe" --speed 52 --sample-seconds 10)
fi
burn=$(printf '%s' "$burn" | tr -d '\r' | tail -n 1)
echo "$burn"
burn_unix=$("$QVL_WINE" winepath -u "$burn" 2>/dev/null)
wavs=$(find "$burn_unix" -maxdepth 1 -iname '*.wav' | wc -l)
echo "== $wavs tracks burnt; $(grep -c '' "$journal_unix" 2>/dev/null || echo 0) handed over while the burn ran, the last follows after 5 quiet seconds"
for _ in $(seq 1 150); do
  [ "$(grep -c '' "$journal_unix" 2>/dev/null || echo 0)" -ge "$wavs" ] && break
  sleep 0.2
done
echo "== Hand-over journal (tick, captured WAV, track, album, title, artist)"
cat "$journal_unix"
echo "== Asking Quaverlane to exit"
"$QVL_WINE" "$bin/qvlctl.exe" exit 30000
wait "$app" || true
tail -n 1 "$log_unix"
