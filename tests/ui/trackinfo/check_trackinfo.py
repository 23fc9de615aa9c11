#!/usr/bin/python3
# Reads the files the track information tests left with mutagen, which shares no code with id3lib
# or TagLib: the dialog's edits and the tags a dropped source gave.
import os
import sys

from mutagen.asf import ASF
from mutagen.id3 import ID3

folder = sys.argv[1]
failures = []


def expect(what, got, wanted):
    if got != wanted:
        failures.append(f"{what}: {got!r}, wanted {wanted!r}")


def id3v1(path):
    with open(path, "rb") as f:
        f.seek(-128, os.SEEK_END)
        block = f.read(128)
    return block if block[:3] == b"TAG" else None


def text(tags, frame):
    return str(tags[frame]) if frame in tags else None


path = os.path.join(folder, "edited.mp3")
tags = ID3(path)
expect("edited.mp3 TIT2", text(tags, "TIT2"), "New Title")
expect("edited.mp3 TCON", text(tags, "TCON"), "Nu Jazz")
expect("edited.mp3 TCOM", text(tags, "TCOM"), "Ivo Brandt")
block = id3v1(path)
expect("edited.mp3 ID3v1 artist", block[33:63].rstrip(b"\0 ") if block else None, b"New Artist")
expect("edited.mp3 ID3v1 title", block[3:33].rstrip(b"\0 ") if block else None, b"Old_Title")

path = os.path.join(folder, "without_v1.mp3")
expect("without_v1.mp3 ID3v1", id3v1(path), None)
expect("without_v1.mp3 TIT2", text(ID3(path), "TIT2"), "Old_Title")

wma = ASF(os.path.join(folder, "edited.wma"))
expect("edited.wma Title", [str(v) for v in wma.get("Title", [])], ["Sea Road"])
expect("edited.wma WM/Genre", [str(v) for v in wma.get("WM/Genre", [])], ["Folk"])
expect("edited.wma WM/TrackNumber", [str(v) for v in wma.get("WM/TrackNumber", [])], ["4"])

tags = ID3(os.path.join(folder, "dropped.mp3"))
expect("dropped.mp3 TIT2", text(tags, "TIT2"), "Tidewater")
expect("dropped.mp3 TPE1", text(tags, "TPE1"), "Mara_Quill")
expect("dropped.mp3 TCOM", text(tags, "TCOM"), "Ivo_Brandt")
pictures = tags.getall("APIC")
expect("dropped.mp3 APIC", [(p.mime, p.type, p.data[:2]) for p in pictures], [("image/jpeg", 1, b"\xff\xd8")])

wma = ASF(os.path.join(folder, "dropped.wma"))
expect("dropped.wma Title", [str(v) for v in wma.get("Title", [])], ["Tidewater"])
expect("dropped.wma WM/AlbumTitle", [str(v) for v in wma.get("WM/AlbumTitle", [])], ["Saltmarsh_Songs"])
expect("dropped.wma WM/Picture", len(wma.get("WM/Picture", [])), 1)

for failure in failures:
    print(failure)
print("trackinfo files: %s" % ("ok" if not failures else "%d failures" % len(failures)))
sys.exit(1 if failures else 0)
