"""Reads the file tags_tests left behind with mutagen, which shares no code with id3lib, and the raw
bytes of both tags with code of its own.

Usage: check_tags.py FOLDER   (FOLDER holds tagged.mp3)
"""

import os
import sys

from mutagen.id3 import ID3, Encoding

# The same values are in TagTestSupport.cpp; the artist was first written in UTF-16 by another
# tagger and then replaced, so it must still be UTF-16.
TEXT_FRAMES = {
    "TIT2": "Test Tone",
    "TALB": "Tag Check",
    "TPE1": "Zo\u00eb Quaverlane",
    "TYER": "2024",
    "TCON": "Rock",
    "TRCK": "7",
    "TOPE": "The Originals",
    "TPUB": "Quaverlane Records",
    "TPE2": "Various Artists",
    "TCOP": "2024 Quaverlane",
    "TCOM": "Clara Composer",
    "TENC": "Quaverlane 1.0",
    "TPOS": "1/2",
}
UNICODE_FRAMES = {"TPE1"}
COMMENT = "440 Hz left, 660 Hz right"
URL = "http://quaverlane.example/track7"
PICTURE = b"\xff\xd8\xff\xe0\x00\x10JFIF\x00" + bytes((i * 37 + 11) % 256 for i in range(400)) + b"\xff\xd9"

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from checklist import expect, expect_cover_picture, run  # noqa: E402


def check_version2(path):
    # The ID3v1 tag is checked byte by byte below; mutagen would otherwise merge it in.
    tag = ID3(path, translate=False, load_v1=False)
    expect("ID3v2 version", tag.version[:2], (2, 3))
    for frame_id, text in TEXT_FRAMES.items():
        frame = tag.get(frame_id)
        expect(frame_id, [str(t) for t in frame.text] if frame else None, [text])
        wanted = Encoding.UTF16 if frame_id in UNICODE_FRAMES else Encoding.LATIN1
        expect(f"{frame_id} encoding", frame.encoding if frame else None, wanted)
    comments = tag.getall("COMM")
    expect("COMM", [str(t) for c in comments for t in c.text], [COMMENT])
    urls = tag.getall("WXXX")
    expect("WXXX", [u.url for u in urls], [URL])
    expect_cover_picture(tag, PICTURE)
    frame_ids = sorted({key[:4] for key in tag.keys()})
    expect("frames", frame_ids, sorted(set(TEXT_FRAMES) | {"COMM", "WXXX", "APIC"}))


def check_layout(data):
    """The header's size must be exactly the frames: no padding."""
    expect("starts with ID3", data[:3], b"ID3")
    flags = data[5]
    size = 0
    for byte in data[6:10]:
        size = (size << 7) | (byte & 0x7F)
    expect("unsynchronisation flag", bool(flags & 0x80), True)
    body = data[10:10 + size]
    if flags & 0x80:
        body = body.replace(b"\xff\x00", b"\xff")
    at = 0
    while at + 10 <= len(body) and body[at] != 0:
        at += 10 + int.from_bytes(body[at + 4:at + 8], "big")
    expect("frames end where the tag ends", at, len(body))
    expect("MPEG sync right after the tag", data[10 + size] == 0xFF and data[11 + size] & 0xE0 == 0xE0, True)


def check_version1(data):
    block = data[-128:]
    expect("TAG", block[:3], b"TAG")

    def field(offset, width):
        return block[offset:offset + width].rstrip(b"\x00").decode("latin-1")

    expect("v1 title", field(3, 30), "Test Tone")
    expect("v1 artist", field(33, 30), "Zo\u00eb Quaverlane")
    expect("v1 album", field(63, 30), "Tag Check")
    expect("v1 year", field(93, 4), "2024")
    expect("v1 comment", field(97, 28), COMMENT)
    expect("v1.1 zero before the track", block[125], 0)
    expect("v1 track", block[126], 7)
    expect("v1 genre byte", block[127], 17)


def check(folder):
    path = os.path.join(folder, "tagged.mp3")
    print(path)
    with open(path, "rb") as file:
        data = file.read()
    check_version2(path)
    check_layout(data)
    check_version1(data)


if __name__ == "__main__":
    sys.exit(run(__doc__, check))
