#!/usr/bin/env bash
# Makes the music-folder scan's sample files with Debian's own tools (sox, LAME, FFmpeg), and
# beside them manifest.txt: what FFmpeg's ffprobe reads of each (title, artist, album, genre and
# whole seconds), which the test expects the scan to agree with. Usage: make_sync_inputs.sh <folder>
set -euo pipefail
out=$1
rm -rf "$out"
mkdir -p "$out"
cd "$out"

# Lengths a little past whole seconds: whether a decoder cuts or rounds its length (and the
# encoders' padding) cannot change the whole seconds, while a length taken from the wrong file can.
sox -D -n -r 44100 -c 2 -b 16 long.wav synth 4.2 sine 300-1200 gain -6
sox -D -n -r 44100 -c 2 -b 16 short.wav synth 2.2 sine 500 gain -6
sox -D -n -r 22050 -c 1 -b 16 tone.wav synth 1.2 sine 700 gain -6
lame --quiet -b 64 --add-id3v2 --tt "Lanterns on the Breakwater" --ta "Ben Okafor Quartet" \
  --tl "Harbour Lights" --tg "Harbour Folk" long.wav tagged.mp3
lame --quiet -b 64 short.wav plain.mp3
ffmpeg -v error -nostdin -i long.wav -c:a wmav2 -b:a 64k -metadata title="Morning Tide" \
  -metadata artist="Ada Lovelock Trio" -metadata album="Pier Seven" -metadata genre="Jazz" tagged.wma
ffmpeg -v error -nostdin -i short.wav -c:a wmav2 -b:a 64k plain.wma
rm long.wav short.wav

python3 - <<'PY'
import json, subprocess
with open("manifest.txt", "w") as manifest:
    for name in ["tagged.mp3", "plain.mp3", "tagged.wma", "plain.wma", "tone.wav"]:
        probe = json.loads(subprocess.check_output(
            ["ffprobe", "-v", "error", "-show_entries", "format=duration:format_tags", "-of", "json", name]))
        tags = {k.lower(): v for k, v in probe["format"].get("tags", {}).items()}
        fields = [name] + [tags.get(k, "") for k in ("title", "artist", "album", "genre")]
        fields.append(str(int(float(probe["format"]["duration"]))))
        manifest.write("|".join(fields) + "\n")

# Damaged: an ID3v2 tag that claims more than the file holds, then the start of a real stream
# cut short; and nothing but noise.
good = open("plain.mp3", "rb").read()
open("damaged_tag.mp3", "wb").write(b"ID3\x03\x00\x00\x7f\x7f\x7f\x7f" + b"\x00TIT2\x00\x00" + good[:900])
import random
random.seed(7)
open("noise.mp3", "wb").write(bytes(random.randrange(256) for _ in range(5000)))
PY
touch .complete
