# mpg123 1.31 with Debian's patches: only the static libmpg123, for the player's MPEG audio decoder.
DEP_NAME=mpg123
DEP_SOURCE=mpg123
DEP_VERSION=1.31.2-1+deb12u1
DEP_ARCHES="x86_64 i686"

dep_build() {
  local arch=$1 src=$2 prefix=$3
  # x86-64 packs the SSE and AVX synths for 64-bit code; on 32-bit, x86 packs every IA-32 synth
  # (i586, MMX, 3DNow, SSE) behind a run-time CPU check, so one build suits any machine.
  local cpu
  case "$arch" in
    x86_64) cpu=x86-64 ;;
    i686) cpu=x86 ;;
  esac
  # No network or output modules: the player reads local files and owns the sound device.
  ./configure --host="$(dep_triplet "$arch")" --prefix="$prefix" \
    --disable-shared --enable-static --disable-dependency-tracking \
    --with-cpu="$cpu" --enable-network=no --enable-modules=no \
    --enable-layer1=yes --enable-layer2=yes --enable-layer3=yes \
    CFLAGS="-O2 -pipe"
  make -j"$JOBS" src/libmpg123/libmpg123.la
  install -m 644 src/libmpg123/.libs/libmpg123.a "$prefix/lib/libmpg123.a"
  install -m 644 src/libmpg123/mpg123.h src/libmpg123/fmt123.h "$prefix/include/"
}
