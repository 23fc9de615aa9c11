#!/usr/bin/env bash
# Reads the length of 1,000 MP3 files two ways in one run: GetFileLength in one Windows process
# (under Wine), and Debian's native mpg123 in test mode (-t, which decodes without output) over
# the same files in one process. The files are ten LAME encodes of different lengths, bit rates
# and modes, each copied a hundred times. Prints both times and the ratio.
#
# With QVL_BIN set (a bin folder of an existing build) the build and the Wine session are the
# caller's (bench-session.sh).
set -euo pipefail
source "$(dirname "$0")/bench-session.sh"

mkdir -p "$work/src" "$work/files"
i=0
for encode in "3 -b 128" "7 -b 192" "12 -V 2" "20 -V 5 -m m" "30 -b 320" "45 -b 96 --resample 32" \
  "60 -V 0" "90 -b 64 -m m --resample 22.05" "150 -b 160" "240 -V 4"; do
  set -- $encode
  secs=$1
  shift
  sox -D -n -r 44100 -c 2 -b 16 "$work/src/t.wav" synth "$secs" sine 220-1760 sine 330-990 gain -6
  lame --quiet "$@" "$work/src/t.wav" "$work/src/$i.mp3"
  for copy in $(seq -w 0 99); do
    cp "$work/src/$i.mp3" "$work/files/f$i-$copy.mp3"
  done
  i=$((i + 1))
done
count=$(ls "$work/files" | wc -l)

# A warm-up of each, untimed, so that both read from the page cache.
cat "$work"/files/*.mp3 >/dev/null
"$QVL_WINE" cmd /c exit >/dev/null 2>&1 || true

start=$(date +%s%N)
ours=$("$QVL_WINE" "$bin/file_length_bench.exe" "Z:$work/files" | tr -d '\r')
end=$(date +%s%N)
ours_wall_ms=$(((end - start) / 1000000))

start=$(date +%s%N)
mpg123 -q -t "$work"/files/*.mp3
end=$(date +%s%N)
native_ms=$(((end - start) / 1000000))

echo "$count files"
echo "GetFileLength: $ours (whole Wine process $((ours_wall_ms / 1000)).$(printf %03d $((ours_wall_ms % 1000))) s)"
echo "mpg123 -t:     $((native_ms / 1000)).$(printf %03d $((native_ms % 1000))) s"
/usr/bin/python3 - "$ours" "$ours_wall_ms" "$native_ms" <<'PY'
import re, sys
inside = float(re.search(r"GetFileLength ([0-9.]+) s", sys.argv[1]).group(1))
wall = int(sys.argv[2]) / 1000
native = int(sys.argv[3]) / 1000
print(f"ratio GetFileLength/mpg123 -t: {inside / native:.3f} (timed inside the process), "
      f"{wall / native:.3f} (whole Wine process)")
PY
