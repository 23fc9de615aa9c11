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

# Debian's source packages need deb-src entries. When the machine has none, they are derived from
# its own binary entries for this release (the mirror it already trusts), so no mirror address is
# written here. Entries of other vendors' repositories are left out: they seldom publish sources,
# and a failing one would stop apt-get update.
dep_ensure_deb_src() {
  if grep -rqsE '^[[:space:]]*(deb-src|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    return
  fi
  local codename
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  [ -n "$codename" ] || dep_die "cannot tell the Debian release from /etc/os-release"
  local f=/etc/apt/sources.list.d/quaverlane-deb-src.sources
  local entries
  entries=$(dep_deb_src_entries "$codename")
  [ -n "$entries" ] || dep_die "no binary Debian entries for $codename in the apt sources to derive deb-src entries from"
  echo "deps: adding Debian source entries in $f" >&2
  printf '%s\n' "$entries" >"$f" 2>/dev/null || dep_die "cannot write $f (run as root)"
  apt-get update -qq </dev/null >&2 || dep_die "apt-get update failed after adding $f"
}

# Prints deb822 deb-src stanzas for every binary entry whose suites belong to release $1: the
# "Types: deb" stanzas of sources.list.d/*.sources and the "deb" lines of the .list files.
dep_deb_src_entries() {
  local codename=$1 f
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk -v rel="$codename" '
      function flush() {
        if (isdeb && uris != "" && suites != "") {
          n = split(suites, s, /[[:space:]]+/); keep = ""
          for (i = 1; i <= n; i++) if (s[i] == rel || index(s[i], rel "-") == 1) keep = keep " " s[i]
          if (keep != "") {
            print "Types: deb-src"; print "URIs:" uris; print "Suites:" keep
            print "Components:" comps; if (signed != "") print "Signed-By:" signed; print ""
          }
        }
        isdeb = 0; uris = ""; suites = ""; comps = ""; signed = ""; enabled = 1
      }
      /^[[:space:]]*#/ { next }
      /^[[:space:]]*$/ { flush(); next }
      {
        key = tolower($1); sub(/:$/, "", key); val = $0; sub(/^[^:]*:/, "", val)
        if (key == "types") { isdeb = (val ~ /(^|[[:space:]])deb([[:space:]]|$)/) }
        else if (key == "uris") uris = val
        else if (key == "suites") suites = val
        else if (key == "components") comps = val
        else if (key == "signed-by") signed = val
        else if (key == "enabled" && val ~ /no/) isdeb = 0
      }
      END { flush() }' "$f"
  done
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] || continue
    awk -v rel="$codename" '
      $1 == "deb" {
        i = 2; opts = ""
        if ($2 ~ /^\[/) { while (i <= NF && $i !~ /\]$/) { opts = opts " " $i; i++ } opts = opts " " $i; i++ }
        uri = $i; suite = $(i + 1); comps = ""
        for (j = i + 2; j <= NF; j++) comps = comps " " $j
        if (suite != rel && index(suite, rel "-") != 1) next
        signed = ""
        if (match(opts, /signed-by=[^] ]+/)) signed = substr(opts, RSTART + 10, RLENGTH - 10)
        print "Types: deb-src"; print "URIs: " uri; print "Suites: " suite
        print "Components:" comps; if (signed != "") print "Signed-By: " signed; print ""
      }' "$f"
  done
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
  echo "deps: building $DEP_NAME ($DEP_SOURCE $DEP_VERSION) for $arch" >&2
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
