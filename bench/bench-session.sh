# What the file benchmarks share. Sourced, never run: sets $bin and a scratch folder $work that goes
# when the script ends. With QVL_BIN set (a bin folder of an existing build) the build and the Wine
# session are the caller's (WINEPREFIX and DISPLAY as they stand); otherwise the build and a Wine
# session of its own are readied here.
if [ -n "${QVL_BIN:-}" ]; then
  bin=$QVL_BIN
  QVL_WINE=/usr/lib/wine/wine64
  export WINEDEBUG=${WINEDEBUG:--all}
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
else
  source "$(dirname "${BASH_SOURCE[0]}")/../tools/env.sh"
  qvl_ready_to_run
  bin="$QVL_ROOT/build/x86_64/bin"
  work=$(mktemp -d)
  trap 'rm -rf "$work"; qvl_stop_session' EXIT
fi
