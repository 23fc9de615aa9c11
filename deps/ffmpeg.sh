# FFmpeg 5.1, cut down to what the WMA library needs: the WMA v1 and v2 encoders and decoders,
# the ASF muxer and demuxer, the PCM codecs, swresample and the file protocol. Static.
DEP_NAME=ffmpeg
DEP_SOURCE=ffmpeg
DEP_VERSION=7:5.1.9-0+deb12u1
DEP_ARCHES="x86_64 i686"

dep_build() {
  local arch=$1 src=$2 prefix=$3
  local ffarch=$arch
  [ "$arch" = i686 ] && ffarch=x86
  # Nothing is detected from the build machine: every component is named, so both targets get
  # the same library whatever else is installed. The optimisation is configure's own (-O3 with
  # the assembly it has for the target); the -posix compilers, like every other library.
  ./configure --prefix="$prefix" \
    --enable-cross-compile --target-os=mingw32 --arch="$ffarch" \
    --cross-prefix="$(dep_triplet "$arch")-" --cc="$CC" --cxx="$CXX" \
    --pkg-config=false --enable-static --disable-shared \
    --disable-everything --disable-autodetect --disable-programs --disable-doc \
    --disable-network --disable-debug --disable-avdevice --disable-avfilter --disable-swscale \
    --disable-postproc --enable-swresample \
    --enable-encoder=wmav1,wmav2,pcm_s16le,pcm_u8 --enable-decoder=wmav1,wmav2,pcm_s16le,pcm_u8 \
    --enable-muxer=asf --enable-demuxer=asf --enable-protocol=file
  make -j"$JOBS"
  make install
  # Refuse a library that lost a component the WMA library asks for by name.
  local c
  for c in wmav1_encoder wmav2_encoder wmav1_decoder wmav2_decoder; do
    grep -q "ff_$c\b" libavcodec/codec_list.c || { echo "FFmpeg was configured without $c" >&2; return 1; }
  done
  for c in asf_muxer; do
    grep -q "ff_$c\b" libavformat/muxer_list.c || { echo "FFmpeg was configured without $c" >&2; return 1; }
  done
  grep -q "ff_asf_demuxer\b" libavformat/demuxer_list.c || { echo "FFmpeg was configured without the ASF demuxer" >&2; return 1; }
}
