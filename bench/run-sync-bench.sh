#!/usr/bin/env bash
# Scans a generated music folder of 10,000 files in 700 folders (35 artists of 20 albums, 14 or
# 15 files each: tagged and untagged MP3, tagged WMA and WAV, copied from a few files made once
# with sox, LAME and FFmpeg), in one Windows process under Wine: the time of a whole scan, then the
# synchronise dialog cancelled at six moments of its scan, with the time until the question shows
# and until the dialog ends after yes. Keeps a picture of the dialog half-way in
# build/x86_64/screenshots/sync/sync-in-progress.png.
#
# With QVL_BIN set (a bin folder of an existing build) the build and the Wine session are the
# caller's (bench-session.sh).
set -euo pipefail
source "$(dirname "$0")/bench-session.sh"
shots="$bin/../screenshots/sync"
mkdir -p "$shots" "$work/src" "$work/Music"

cd "$work/src"
sox -D -n -r 44100 -c 2 -b 16 song.wav synth 3.2 sine 300-900 gain -6
lame --quiet -b 32 --add-id3v2 --tt "Lanterns on the Breakwater" --ta "Ben Okafor Quartet" --tl "Harbour Lights" \
  --tg "Jazz" song.wav tagged.mp3
lame --quiet -b 32 song.wav plain.mp3
ffmpeg -v error -nostdin -i song.wav -c:a wmav2 -b:a 32k -metadata title="Morning Tide" \
  -metadata artist="Ada Lovelock Trio" -metadata album="Pier Seven" tagged.wma
sox -D -n -r 8000 -c 1 -b 8 -e unsigned short.wav synth 2.2 sine 700 gain -6

/usr/bin/python3 - "$work/src" "$work/Music" <<'PY'
import os, shutil, sys
src, music = sys.argv[1], sys.argv[2]
kinds = ["short.wav", "tagged.wma", "tagged.mp3", "tagged.mp3", "tagged.mp3", "tagged.mp3",
         "plain.mp3", "plain.mp3", "plain.mp3", "plain.mp3"]
index = files = 0
for artist in range(35):
    for album in range(20):
        folder = os.path.join(music, f"Artist {artist:02d}", f"Album {album:02d}")
        os.makedirs(folder)
        for track in range(15 if index < 200 else 14):
            kind = kinds[files % len(kinds)]
            shutil.copyfile(os.path.join(src, kind), os.path.join(folder, f"{track + 1:02d} Track{os.path.splitext(kind)[1]}"))
            files += 1
        index += 1
print(f"{files} files in {index} album folders below 35 artist folders")
PY

# A warm-up, untimed, so that the scan reads from the page cache.
cat "$work"/Music/*/*/* >/dev/null
"$QVL_WINE" cmd /c exit >/dev/null 2>&1 || true
rm -f "$shots/sync-in-progress.bmp"
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
windows() { echo "Z:$1" | tr / '\\'; }
"$QVL_WINE" "$bin/sync_bench.exe" "$(windows "$work/Music")" "$(windows "$shots/sync-in-progress.bmp")" | tr -d '\r'
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
if [ -e "$shots/sync-in-progress.bmp" ]; then
  /usr/bin/convert "$shots/sync-in-progress.bmp" "$shots/sync-in-progress.png" && rm -f "$shots/sync-in-progress.bmp"
  echo "picture: $shots/sync-in-progress.png"
fi
