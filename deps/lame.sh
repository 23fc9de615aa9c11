# LAME 3.100: static libmp3lame plus the BladeEnc-compatible lame_enc.dll from the sources' Dll folder.
DEP_NAME=lame
DEP_SOURCE=lame
DEP_VERSION=3.100-6
DEP_ARCHES="x86_64 i686"

LAME_CFLAGS="-O3 -ffast-math -fomit-frame-pointer -pipe"

dep_build() {
  local arch=$1 src=$2 prefix=$3
  autoreconf -fi
  # LAME's configure picks its optimisation from the compiler's version text, which the MinGW
  # cross compilers do not match, and then builds with none: about three times slower. These are
  # the flags it chooses for GCC on a native build, the same for both targets.
  ./configure --host="$(dep_triplet "$arch")" --prefix="$src/_inst" \
    --disable-shared --enable-static --disable-frontend --disable-dependency-tracking \
    CFLAGS="$LAME_CFLAGS"
  make -j"$JOBS"
  make install

  # The DLL source names Windows.h and Windef.h in mixed case; MinGW ships them in lower case.
  mkdir -p shim
  echo '#include <windows.h>' >shim/Windows.h
  echo '#include <windef.h>' >shim/Windef.h
  # LAME's sources give the DLL no version resource; it carries LAME's own version, which the
  # installer and the file's properties show.
  cat >lame_enc.rc <<'RC'
#include <windows.h>
VS_VERSION_INFO VERSIONINFO
FILEVERSION 3,100,0,0
PRODUCTVERSION 3,100,0,0
FILEOS VOS_NT_WINDOWS32
FILETYPE VFT_DLL
BEGIN
    BLOCK "StringFileInfo"
    BEGIN
        BLOCK "040904b0"
        BEGIN
            VALUE "CompanyName", "The LAME Project"
            VALUE "FileDescription", "LAME MP3 encoder (BladeEnc interface)"
            VALUE "FileVersion", "3.100"
            VALUE "LegalCopyright", "LGPL"
            VALUE "OriginalFilename", "lame_enc.dll"
            VALUE "ProductName", "LAME"
            VALUE "ProductVersion", "3.100"
        END
    END
    BLOCK "VarFileInfo"
    BEGIN
        VALUE "Translation", 0x409, 1200
    END
END
RC
  "$(dep_triplet "$arch")-windres" lame_enc.rc -O coff -o lame_enc_rc.o
  # No link time in the file: a release built again from the same sources is the same to the byte.
  "$CC" $LAME_CFLAGS -shared -o lame_enc.dll Dll/BladeMP3EncDLL.c Dll/BladeMP3EncDLL.def lame_enc_rc.o \
    -Ishim -I"$src/_inst/include/lame" -Iinclude -L"$src/_inst/lib" -lmp3lame \
    -static-libgcc -Wl,--enable-stdcall-fixup -Wl,--no-insert-timestamp
  # Refuse a DLL that lost one of the entry points the program binds by name.
  local exports
  exports=$("$(dep_triplet "$arch")-objdump" -p lame_enc.dll)
  local f
  for f in beInitStream beEncodeChunk beDeinitStream beCloseStream beVersion beWriteVBRHeader; do
    grep -qw "$f" <<<"$exports" || { echo "lame_enc.dll does not export $f" >&2; return 1; }
  done
  install -m 644 lame_enc.dll "$prefix/bin/lame_enc.dll"
  mkdir -p "$prefix/include/lame"
  install -m 644 Dll/BladeMP3EncDLL.h "$prefix/include/lame/BladeMP3EncDLL.h"
}
