#!/usr/bin/env bash
# Builds the release into dist/: for i686 (the shipping target) and x86_64, the installer
# (Quaverlane-<version>-<arch>-setup.exe) and a zip of the program folder
# (Quaverlane-<version>-<arch>.zip), and SHA256SUMS over the four.
#
# The program folder is what the build's install rules name (installer/CMakeLists.txt), stripped.
# Every file in it, and every module's header, gets the time of the last commit (or
# SOURCE_DATE_EPOCH), so the same sources give the same bytes.
set -euo pipefail
source "$(dirname "$0")/env.sh"
bash "$QVL_ROOT/tools/bootstrap.sh"
bash "$QVL_ROOT/deps/build.sh"
qvl_build

epoch=${SOURCE_DATE_EPOCH:-$(git -C "$QVL_ROOT" log -1 --format=%ct 2>/dev/null || true)}
[ -n "$epoch" ] || { echo "make-release: no commit time; set SOURCE_DATE_EPOCH" >&2; exit 1; }
# strip stamps the modules it writes with this time instead of the clock's.
export SOURCE_DATE_EPOCH=$epoch
version=$(sed -n 's/^!define QVL_VERSION "\(.*\)"$/\1/p' "$QVL_ROOT/build/x86_64/generated/Version.nsh")
[ -n "$version" ] || { echo "make-release: no version in build/x86_64/generated/Version.nsh" >&2; exit 1; }

dist="$QVL_ROOT/dist"
rm -rf "$dist"
mkdir -p "$dist"

# The installer's two lists, from the program folder: every file in, and every file and folder
# out again (deepest first), so that the uninstaller removes what was installed and no more.
write_file_lists() {
  local stage=$1 lists=$2 path dir
  {
    echo '!macro QVL_INSTALL_FILES'
    while IFS= read -r dir; do
      echo "  SetOutPath \"\$INSTDIR${dir:+\\${dir//\//\\}}\""
      while IFS= read -r path; do
        echo "  File \"$stage/$path\""
      done < <(cd "$stage" && find "./$dir" -mindepth 1 -maxdepth 1 -type f | sed 's|^\./||; s|^/||' | LC_ALL=C sort)
    done < <(cd "$stage" && { echo; find . -mindepth 1 -type d | sed 's|^\./||'; } | LC_ALL=C sort)
    echo '  SetOutPath "$INSTDIR"'
    echo '!macroend'
    echo '!macro QVL_REMOVE_FILES'
    while IFS= read -r path; do
      echo "  Delete \"\$INSTDIR\\${path//\//\\}\""
    done < <(cd "$stage" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
    while IFS= read -r dir; do
      echo "  RMDir \"\$INSTDIR\\${dir//\//\\}\""
    done < <(cd "$stage" && find . -mindepth 1 -type d | sed 's|^\./||' | LC_ALL=C sort -r)
    echo '!macroend'
  } >"$lists"
}

for arch in i686 x86_64; do
  build="$QVL_ROOT/build/$arch"
  release="$build/release"
  stage="$release/Quaverlane"
  rm -rf "$release"
  cmake --install "$build" --prefix "$stage" --strip >/dev/null
  find "$stage" -exec touch -h -d "@$epoch" {} +
  write_file_lists "$stage" "$build/generated/Files.nsh"

  echo "make-release: $arch installer"
  makensis -V2 -INPUTCHARSET UTF8 \
    -DQVL_ARCH="$arch" -DQVL_STAGE="$stage" -DQVL_GENERATED="$build/generated" \
    -DQVL_ICON="$build/art/quaverlane.ico" \
    -DQVL_OUTFILE="$dist/Quaverlane-$version-$arch-setup.exe" \
    "$QVL_ROOT/installer/Quaverlane.nsi"

  echo "make-release: $arch zip"
  (cd "$release" && find Quaverlane | LC_ALL=C sort |
    TZ=UTC zip -X -q -9 "$dist/Quaverlane-$version-$arch.zip" -@)
done

(cd "$dist" && sha256sum -- *.exe *.zip >SHA256SUMS)
echo "make-release: $dist"
cat "$dist/SHA256SUMS"
