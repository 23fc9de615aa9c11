#!/usr/bin/env bash
# Installs what is missing, builds Quaverlane and runs it under Wine: it starts with the capture
# folder that the recorder shares through the registry, reports itself in its log, and is then
# asked to exit the way a user would (Exit, then Yes).
set -euo pipefail
source "$(dirname "$0")/env.sh"
qvl_ready_to_run

bin="$QVL_ROOT/build/x86_64/bin"
capture='C:\Quaverlane\Capture'
"$QVL_WINE" reg add 'HKLM\Software\Quaverlane' /v TempFolder /t REG_SZ /d "$capture" /f >/dev/null 2>&1
documents=$("$QVL_WINE" cmd /c echo %USERPROFILE% 2>/dev/null | tr -d '\r')
log_unix=$(/usr/lib/wine/wine64 winepath -u "$documents\\Documents\\Quaverlane\\qvl.log" 2>/dev/null)
lines_before=0
[ -f "$log_unix" ] && lines_before=$(wc -l <"$log_unix")

echo "== Starting Quaverlane (capture folder $capture)"
"$QVL_WINE" "$bin/Quaverlane.exe" >/dev/null 2>&1 </dev/null &
app=$!
"$QVL_WINE" "$bin/qvlctl.exe" wait 30000
echo "== Its log ($log_unix) so far"
tail -n +"$((lines_before + 1))" "$log_unix"
echo "== Asking it to exit"
"$QVL_WINE" "$bin/qvlctl.exe" exit 30000
wait "$app" || true
tail -n 1 "$log_unix"
