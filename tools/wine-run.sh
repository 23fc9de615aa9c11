#!/usr/bin/env bash
# Runs a Windows program of ours in the project's Wine prefix (the test runner's emulator).
QVL_CACHE=${QVL_CACHE:-$HOME/.cache/quaverlane}
export WINEPREFIX=${WINEPREFIX:-$QVL_CACHE/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
exec /usr/lib/wine/wine64 "$@"
