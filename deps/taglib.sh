# TagLib 1.13 with Debian's patches, static, for the WMA library's tags (ASF attributes and pictures).
DEP_NAME=taglib
DEP_SOURCE=taglib
DEP_VERSION=1.13-2+deb12u1
DEP_ARCHES="x86_64 i686"

dep_build() {
  local arch=$1 src=$2 prefix=$3
  # Debian's first patch points the build at a system utf8cpp, which MinGW has no copy of: the
  # copy bundled with the sources takes its place again.
  patch -R -p1 <debian/patches/0001-Use-system-libutf8cpp-library.patch
  # No zlib: only compressed ID3v2 frames would want it, and the WMA library reads ASF.
  cmake -S . -B _build -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$DEPS_DIR/../cmake/toolchain-$arch.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DBUILD_SHARED_LIBS=OFF -DWITH_ZLIB=OFF -DBUILD_BINDINGS=OFF -DBUILD_EXAMPLES=OFF \
    -DBUILD_TESTING=OFF -DBUILD_TESTS=OFF
  cmake --build _build -j"$JOBS"
  cmake --install _build
}
