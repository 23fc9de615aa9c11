#!/usr/bin/env bash
# Makes the decoder tests' input files and, beside each, its PCM as Debian's own tools decode it
# (sox for WAV, FFmpeg for MPEG audio and WMA): the decoders are measured against code they share
# nothing with. Usage: make_decoder_inputs.sh <folder>
set -euo pipefail
out=$1
rm -rf "$out"
mkdir -p "$out"
cd "$out"

ffdec() { ffmpeg -v error -nostdin -i "$1" -f s16le -acodec pcm_s16le "$1.raw"; }
# Two different sweeps, one a channel: any slip of a sample or swap of the channels shows. The
# same at 48 kHz (names ending in _48), the rate at which Wine's DirectSound mixes, for that
# output's tests.
for rate in 44100 48000; do
  s=$([ "$rate" = 48000 ] && echo _48 || true)
  sox -D -n -r "$rate" -c 2 -b 16 "tone$s.wav" synth 4.3 sine 200-3000 sine 900-150 gain -4
  sox -D "tone$s.wav" -t raw -e signed -b 16 -L "tone$s.wav.raw"
  lame --quiet -b 128 "tone$s.wav" "layer3$s.mp3"
  ffdec "layer3$s.mp3"
  ffmpeg -v error -nostdin -i "tone$s.wav" -c:a mp2 -b:a 192k "layer2$s.mp2"
  ffdec "layer2$s.mp2"
  ffmpeg -v error -nostdin -i "tone$s.wav" -c:a wmav2 -b:a 128k "wmav2$s.wma"
  ffdec "wmav2$s.wma"
done
sox -D -n -r 22050 -c 1 -b 8 -e unsigned mono8.wav synth 2.5 sine 300-2000 gain -3
sox -D mono8.wav -t raw -e unsigned -b 8 mono8.wav.raw
# Not PCM: A-law, format tag 6.
sox -D tone.wav -e a-law -b 8 alaw.wav

lame --quiet -V 5 -m m --resample 22.05 tone.wav layer3_mono.mp3
ffdec layer3_mono.mp3

python3 - <<'PY'
import random, struct

tone = open("tone.wav", "rb").read()

def synchsafe(n):
    return bytes([(n >> 21) & 0x7F, (n >> 14) & 0x7F, (n >> 7) & 0x7F, n & 0x7F])

# An ID3v2.3 tag in front of the RIFF header, with padding after its one frame.
title = b"\x00Tagged capture"
frame = b"TIT2" + struct.pack(">I", len(title)) + b"\x00\x00" + title
body = frame + bytes(1000 - len(frame))
open("id3_front.wav", "wb").write(b"ID3\x03\x00\x00" + synchsafe(len(body)) + body + tone)

# The same PCM behind an odd-sized LIST chunk between "fmt " and "data": the pad byte must be
# skipped.
riff = tone[12:]
fmt_end = 8 + struct.unpack("<I", riff[4:8])[0]
fmt, rest = riff[:fmt_end], riff[fmt_end:]
assert rest[:4] == b"data"
extra = b"LIST" + struct.pack("<I", 5) + b"INFO\x01" + b"\x00"
chunks = fmt + extra + rest
open("odd_chunk.wav", "wb").write(b"RIFF" + struct.pack("<I", 4 + len(chunks)) + b"WAVE" + chunks)

# Headers that lie: sizes far larger than the file, and a data size of 0 (a capture cut short).
data_at = tone.index(b"data")
lying = bytearray(tone)
lying[4:8] = struct.pack("<I", 0x7FFFFFF0)
lying[data_at + 4:data_at + 8] = struct.pack("<I", 0x7FFFFF00)
open("lying_sizes.wav", "wb").write(lying)
zero = bytearray(tone)
zero[data_at + 4:data_at + 8] = struct.pack("<I", 0)
open("zero_data_size.wav", "wb").write(zero)
# A "fmt " chunk that claims to run past the end of the file.
huge_fmt = bytearray(tone)
huge_fmt[16:20] = struct.pack("<I", 0xFFFFFFF0)
open("huge_fmt.wav", "wb").write(huge_fmt)
# Cut in the middle of a sample frame.
open("cut.wav", "wb").write(tone[:len(tone) // 2 + 3])

rng = random.Random(20240611)
mp3 = open("layer3.mp3", "rb").read()
hit = bytearray(mp3)
middle = len(hit) // 2
hit[middle:middle + 4000] = bytes(rng.getrandbits(8) for _ in range(4000))
open("damaged_middle.mp3", "wb").write(hit)
open("truncated.mp3", "wb").write(mp3[:len(mp3) * 3 // 5])
open("header_only.mp3", "wb").write(mp3[:300])
wma = open("wmav2.wma", "rb").read()
hit = bytearray(wma)
middle = len(hit) // 2
hit[middle:middle + 4000] = bytes(rng.getrandbits(8) for _ in range(4000))
open("damaged_middle.wma", "wb").write(hit)
open("truncated.wma", "wb").write(wma[:len(wma) * 3 // 5])
open("noise.mp3", "wb").write(bytes(rng.getrandbits(8) for _ in range(200000)))
open("text.mp3", "wb").write(b"This is not audio at all.\r\n" * 2000)
for name in ("empty.mp3", "empty.wav", "empty.wma"):
    open(name, "wb").close()
PY
touch .complete
