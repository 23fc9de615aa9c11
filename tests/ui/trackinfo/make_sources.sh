#!/bin/sh
# Source files as other programs write them, made by Debian's ffmpeg (which shares no code with the
# program's TagLib reading): FLAC, MPEG-4 and Ogg sources with tags and a cover, a WMA file with
# tags, and an MP3 and an MPEG-4 file cut short and filled with noise.
set -e
out="$1"
rm -rf "$out"
mkdir -p "$out"
cd "$out"
ff() { ffmpeg -hide_banner -loglevel error -y "$@"; }
ff -f lavfi -i "color=c=0x2060c0:s=64x64" -frames:v 1 cover.jpg
ff -f lavfi -i "sine=frequency=440:duration=1:sample_rate=44100" -ac 2 tone.wav
tags="-metadata title=Tidewater -metadata artist=Mara_Quill -metadata album=Saltmarsh_Songs -metadata genre=Jazz -metadata date=2011 -metadata track=9 -metadata composer=Ivo_Brandt"
# shellcheck disable=SC2086
ff -i tone.wav -i cover.jpg -map 0 -map 1 -c:a flac -c:v copy -disposition:v attached_pic $tags source.flac
# shellcheck disable=SC2086
ff -i tone.wav -i cover.jpg -map 0 -map 1 -c:a aac -b:a 96k -c:v copy -disposition:v attached_pic $tags source.m4a
cp source.m4a source.MOV
# shellcheck disable=SC2086
ff -i tone.wav -c:a libvorbis $tags source.ogg
ff -i tone.wav -c:a wmav2 -b:a 128k -metadata title=Harbour_Wind -metadata artist=Old_Crew target.wma
head -c 3000 source.m4a > damaged.m4a
head -c 20000 /dev/urandom >> damaged.m4a
printf 'ID3\004\000\000\177\177\177\177' > damaged.mp3
head -c 20000 /dev/urandom >> damaged.mp3
# Converted tracks as the manager lists them: MP3 files with both tags, one with a cover.
lame --quiet -b 128 --add-id3v2 --tt Old_Title --ta Old_Artist --tl Old_Album --ty 1999 --tg Rock --tn 3 tone.wav target.mp3
lame --quiet -b 128 --add-id3v2 --tt With_Art --ta Old_Artist --ti cover.jpg tone.wav with_art.mp3
