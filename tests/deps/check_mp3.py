"""Reads the MP3 files deps_tests left behind with mutagen, which shares no code with LAME or id3lib.

Usage: check_mp3.py FOLDER   (FOLDER holds encoded.mp3 and tagged.mp3)
"""

import os
import sys

from mutagen.id3 import ID3
from mutagen.mp3 import MP3, BitrateMode

# The same values are in Id3LibTest.cpp.
TEXT_FRAMES = {"TIT2": "Test Tone", "TPE1": "Quaverlane", "TALB": "Dependency Check", "TRCK": "7"}
PICTURE = bytes((i * 37 + 11) % 256 for i in range(400))

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from checklist import expect, run  # noqa: E402


def check_stream(path):
    print(path)
    info = MP3(path).info
    expect("MPEG version", info.version, 1)
    expect("layer", info.layer, 3)
    expect("sample rate", info.sample_rate, 44100)
    expect("channels", info.channels, 2)
    # With a LAME Info frame mutagen averages the bitrate over the audio bytes, a few bit/s beside
    # the nominal rate; what must hold is that the stream is constant at 128 kbit/s.
    expect("bitrate mode", info.bitrate_mode, BitrateMode.CBR)
    expect("bitrate in kbit/s", round(info.bitrate / 1000), 128)
    expect("length 0.9..1.2 s", 0.9 <= info.length <= 1.2, True)
    print(f"  length {info.length:.4f} s, {os.path.getsize(path)} bytes")


def check_tag(path):
    tag = ID3(path)
    for frame_id, text in TEXT_FRAMES.items():
        expect(frame_id, [str(t) for t in tag[frame_id].text] if frame_id in tag else None, [text])
    pictures = tag.getall("APIC")
    expect("APIC count", len(pictures), 1)
    if pictures:
        expect("APIC mime", pictures[0].mime, "image/jpeg")
        expect("APIC data", pictures[0].data == PICTURE, True)


def check(folder):
    encoded = os.path.join(folder, "encoded.mp3")
    tagged = os.path.join(folder, "tagged.mp3")
    check_stream(encoded)
    check_stream(tagged)
    check_tag(tagged)


if __name__ == "__main__":
    sys.exit(run(__doc__, check))
