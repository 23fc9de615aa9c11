# Shared helpers for the dependency recipes. Sourced, never run.
#
# A recipe is deps/<name>.sh defining DEP_NAME, DEP_SOURCE (Debian source package),
# DEP_VERSION (pinned Debian version), DEP_ARCHES and a function dep_build <arch> <srcdir> <prefix>.
# Its output goes to $QVL_CACHE/prefix/<arch>; a stamp holding the hash of the recipe, this file
# and the toolchain identity decides whether it is built again.

QVL_CACHE=${QVL_CACHE:-$HOME/.cache/quaverlane}
DEPS_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
JOBS=${JOBS:-$(nproc)}

dep_die() {
  echo "deps: $DEP_NAME: $*" >&2
  exit 1
}

dep_triplet() {
  case "$1" in
    x86_64) echo x86_64-w64-mingw32 ;;
    i686) echo i686-w64-mingw32 ;;
    *) dep_die "unknown architecture $1" ;;
  esac
}

# The -posix compiler variants: every C++ library and the program must use the same thread model.
dep_env() {
  local t
  t=$(dep_triplet "$1")
  export CC="$t-gcc-posix" CXX="$t-g++-posix" AR="$t-ar" RANLIB="$t-ranlib" STRIP="$t-strip"
  export WINDRES="$t-windres" DLLTOOL="$t-dlltool"
  command -v "$CC" >/dev/null || dep_die "compiler $CC is missing (run tools/bootstrap.sh)"
}

# Debian's source packages need deb-src lines; add them for the suites the binary lines use.
dep_ensure_deb_src() {
  if grep -rqsE '^(deb-src|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    return
  fi
  local f=/etc/apt/sources.list.d/quaverlane-deb-src.sources
  echo "deps: adding Debian source entries in $f"
  cat >"$f" <<'SRC' || dep_die "cannot write $f (run as root)"
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  apt-get update -qq </dev/null || dep_die "apt-get update failed after adding $f"
}

# Downloads and unpacks the pinned source package once; prints the unpacked folder.
# A recipe that builds from a folder an installed package provides sets DEP_LOCAL_SOURCE.
dep_fetch_source() {
  if [ -n "${DEP_LOCAL_SOURCE:-}" ]; then
    [ -d "$DEP_LOCAL_SOURCE" ] || dep_die "$DEP_LOCAL_SOURCE is missing (run tools/bootstrap.sh)"
    echo "$DEP_LOCAL_SOURCE"
    return
  fi
  local dl="$QVL_CACHE/src/$DEP_SOURCE-$DEP_VERSION"
  local tree="$dl/tree"
  if [ ! -f "$dl/.unpacked" ]; then
    dep_ensure_deb_src
    rm -rf "$dl"
    mkdir -p "$dl"
    # apt-get source can exit non-zero over a missing upstream signature although the files
    # arrived, so the unpack below is the real test.
    (cd "$dl" && apt-get source -o APT::Sandbox::User=root --download-only -qq "$DEP_SOURCE=$DEP_VERSION" </dev/null >&2) ||
      echo "deps: $DEP_NAME: apt-get source reported an error; checking what arrived" >&2
    local dsc
    dsc=$(ls "$dl"/*.dsc 2>/dev/null | head -n 1)
    [ -n "$dsc" ] || dep_die "source package $DEP_SOURCE=$DEP_VERSION could not be downloaded"
    dpkg-source --no-check -x "$dsc" "$tree" >&2 || dep_die "cannot unpack $dsc"
    touch "$dl/.unpacked"
  fi
  echo "$tree"
}

dep_stamp_value() {
  local arch=$1
  {
    cat "$DEPS_DIR/lib.sh" "$DEPS_DIR/$DEP_NAME.sh" "$DEPS_DIR/../cmake/toolchain-$arch.cmake" \
      "$DEPS_DIR/../cmake/MinGW.cmake"
    echo "$DEP_SOURCE=$DEP_VERSION"
    "$(dep_triplet "$arch")-g++-posix" --version | head -n 1
  } | sha256sum | cut -d' ' -f1
}

# Builds one recipe for one architecture unless its stamp is current.
dep_run() {
  local arch=$1
  local prefix="$QVL_CACHE/prefix/$arch"
  local stamp="$prefix/.stamps/$DEP_NAME"
  local want
  want=$(dep_stamp_value "$arch")
  if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$want" ]; then
    return
  fi
  echo "deps: building $DEP_NAME ($DEP_SOURCE $DEP_VERSION) for $arch"
  local src work
  src=$(dep_fetch_source)
  work="$QVL_CACHE/build/$arch/$DEP_NAME"
  rm -rf "$work"
  mkdir -p "$work" "$prefix/.stamps" "$prefix/include" "$prefix/lib" "$prefix/bin"
  cp -a "$src/." "$work/"
  dep_env "$arch"
  local log="$QVL_CACHE/build/$arch/$DEP_NAME.log"
  if ! (cd "$work" && dep_build "$arch" "$work" "$prefix") >"$log" 2>&1; then
    tail -n 40 "$log" >&2
    dep_die "build for $arch failed; full log in $log"
  fi
  echo "$want" >"$stamp"
}
