# GoogleTest and GoogleMock from Debian's googletest package, for the x86_64 test build.
DEP_NAME=googletest
DEP_LOCAL_SOURCE=/usr/src/googletest
DEP_SOURCE=googletest
DEP_VERSION=$(dpkg-query -W -f='${Version}' googletest 2>/dev/null || echo missing)
DEP_ARCHES="x86_64"

dep_build() {
  local arch=$1 src=$2 prefix=$3
  cmake -S "$src" -B _build -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$DEPS_DIR/../cmake/toolchain-$arch.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DBUILD_SHARED_LIBS=OFF -Dgtest_disable_pthreads=OFF
  cmake --build _build -j"$JOBS"
  cmake --install _build
}
