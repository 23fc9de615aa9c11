# id3lib 3.8.3 with Debian's patches, static, against zlib from libz-mingw-w64-dev.
DEP_NAME=id3lib
DEP_SOURCE=id3lib3.8.3
DEP_VERSION=3.8.3-18
DEP_ARCHES="x86_64 i686"

dep_build() {
  local arch=$1 src=$2 prefix=$3
  # The same regeneration Debian's rules run (its patches touch the autotools inputs).
  libtoolize -fc
  aclocal
  autoconf
  automake --add-missing --copy
  # MinGW's mkstemp makes tag updates fail silently: id3lib then falls back to its own
  # temporary-file code. The static link option is needed by id3lib's headers everywhere.
  ./configure --host="$(dep_triplet "$arch")" --prefix="$prefix" \
    --disable-shared --enable-static --disable-dependency-tracking \
    ac_cv_func_mkstemp=no ac_cv_header_iconv_h=no \
    CPPFLAGS="-DID3LIB_LINKOPTION=1" CXXFLAGS="-O2 -std=gnu++98"
  make -j"$JOBS" -C include
  make -j"$JOBS" -C src
  make -C include install
  make -C src install
}
