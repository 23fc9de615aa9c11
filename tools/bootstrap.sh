#!/usr/bin/env bash
# Installs the Debian packages the build, the dependency recipes and the Wine test bench need.
# Safe to run again: it asks apt only for what is missing.
set -euo pipefail

packages=(
  cmake ninja-build make pkg-config clang-format
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix
  binutils-mingw-w64-x86-64 binutils-mingw-w64-i686 mingw-w64-tools
  libz-mingw-w64-dev googletest
  wine wine64 xvfb xauth x11-utils xdotool imagemagick
  quilt nasm autoconf automake libtool dpkg-dev fp-utils-3.2.2
  python3-mutagen mpg123 sox ffmpeg
  lame
  nsis zip p7zip-full python3-pefile
  librsvg2-bin
  locales fonts-ipafont-gothic
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "bootstrap: installing ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  if ! "${sudo_cmd[@]}" apt-get update -qq </dev/null; then
    echo "bootstrap: apt-get update failed; check the apt sources and the network" >&2
    exit 1
  fi
  if ! "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null; then
    echo "bootstrap: apt-get install failed for: ${missing[*]}" >&2
    exit 1
  fi
fi
