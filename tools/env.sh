# Shared set-up of the build and run scripts. Sourced, never run.
# Builds both targets, creates the project's Wine prefix, and starts an X display and a warm
# Wine server that stop again when the calling script ends.

QVL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export QVL_CACHE=${QVL_CACHE:-$HOME/.cache/quaverlane}
export WINEPREFIX=${WINEPREFIX:-$QVL_CACHE/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
QVL_WINE=/usr/lib/wine/wine64
QVL_WINESERVER=/usr/lib/wine/wineserver

# Everything a run needs, from the Debian packages to a warm Wine server.
qvl_ready_to_run() {
  bash "$QVL_ROOT/tools/bootstrap.sh"
  bash "$QVL_ROOT/deps/build.sh"
  qvl_build
  qvl_wine_prefix
  qvl_start_session
}

# x86_64 is the build that runs; i686 is the shipping target and must always build.
qvl_build() {
  local arch
  for arch in x86_64 i686; do
    local dir="$QVL_ROOT/build/$arch"
    if [ ! -f "$dir/build.ninja" ]; then
      cmake -S "$QVL_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$QVL_ROOT/cmake/toolchain-$arch.cmake" >"$QVL_CACHE/cmake-$arch.log" 2>&1 ||
        { tail -n 30 "$QVL_CACHE/cmake-$arch.log" >&2; echo "build: configuring $arch failed" >&2; return 1; }
    fi
    cmake --build "$dir" || { echo "build: $arch failed" >&2; return 1; }
  done
}

qvl_wine_prefix() {
  if [ ! -f "$WINEPREFIX/.qvl-ready" ]; then
    echo "wine: creating the prefix $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    "$QVL_WINE" wineboot -i >/dev/null 2>&1 </dev/null || { echo "wine: wineboot failed" >&2; return 1; }
    # Written now, before any session starts the desktop process: the desktop reads it once, at its
    # start, and a desktop that started without it waits two seconds for a window manager at every
    # change of its tray window (a program's exit among them).
    qvl_unmanaged_windows
    "$QVL_WINESERVER" -w
    # Wine links Documents, Desktop and the rest to the Unix home folder; the program writes
    # its data and wipes its capture folder below Documents, so they become folders of the prefix.
    local link
    for link in "$WINEPREFIX"/drive_c/users/*/*; do
      if [ -L "$link" ]; then
        rm "$link"
        mkdir "$link"
      fi
    done
    touch "$WINEPREFIX/.qvl-ready"
  fi
}

qvl_stop_session() {
  "$QVL_WINESERVER" -k >/dev/null 2>&1 || true
  if [ -n "${QVL_XVFB_PID:-}" ]; then
    kill "$QVL_XVFB_PID" >/dev/null 2>&1 || true
    wait "$QVL_XVFB_PID" 2>/dev/null || true
  fi
}

# An X display of our own (windows need one under Wine) and one persistent Wine server, whose
# standard streams must not be the caller's or a test runner would wait for it to exit.
qvl_start_session() {
  local n
  for n in $(seq 91 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || break
  done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 </dev/null &
  QVL_XVFB_PID=$!
  export DISPLAY=":$n"
  trap qvl_stop_session EXIT
  local i
  for i in $(seq 1 50); do
    [ -e "/tmp/.X11-unix/X$n" ] && break
    sleep 0.1
  done
  [ -e "/tmp/.X11-unix/X$n" ] || { echo "session: Xvfb did not start on :$n" >&2; return 1; }
  "$QVL_WINESERVER" -k >/dev/null 2>&1 || true
  "$QVL_WINESERVER" -p >/dev/null 2>&1 </dev/null
  qvl_unmanaged_windows
}

# Xvfb has no window manager: a managed window would make Wine wait two seconds for every hide
# that no window manager will ever confirm.
qvl_unmanaged_windows() {
  "$QVL_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 </dev/null
}
