#!/usr/bin/python3
"""Reads the WMA files wma_tests left behind with Debian's own ffprobe and ffmpeg and with mutagen,
which share no code with the program's libraries: the stream the encoder was asked for, the audio
decoded and laid over its source, and every tag and the cover as the editor and the encoder wrote
them.

Usage: check_wma.py FOLDER   (FOLDER holds sweep.wma, sweep.wav, cover.jpg and edited.wma)
"""

import json
import os
import struct
import subprocess
import sys
import wave

import mutagen.asf

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from checklist import expect, run  # noqa: E402

FRAME = 2048

# The same values are in WmaEncodeTest.cpp and WmaTagEditTest.cpp.
SWEEP_TAGS = {
    "Title": "Sweep",
    "Author": "Zo\u00eb Quaverlane",
    "WM/AlbumTitle": "Round Trip",
    "WM/Year": "2024",
    "WM/Genre": "Electronic",
    "WM/Composer": "Clara Composer",
}
EDITED_TAGS = {
    "Title": "Renamed",
    "Author": "Zo\u00eb Quaverlane",
    "Description": "A sweep up and a sweep down",
    "Copyright": "2024 Quaverlane",
    "WM/AlbumTitle": "Tag Check",
    "WM/Year": "2024",
    "WM/Genre": "Rock",
    "WM/Composer": "Clara Composer",
    "WM/OriginalArtist": "The Originals",
    "WM/AuthorURL": "http://quaverlane.example/track7",
    "WM/EncodedBy": "Quaverlane 1.0",
    "WM/Publisher": "Quaverlane Records",
    "WM/AlbumArtist": "Various Artists",
    "WM/PartOfSet": "1/2",
}


def samples(pcm):
    return struct.unpack("<%dh" % (len(pcm) // 2), pcm[: len(pcm) // 2 * 2])


def correlation(a, b):
    n = min(len(a), len(b))
    dot = sum(x * y for x, y in zip(a[:n], b[:n]))
    na = sum(x * x for x in a[:n]) ** 0.5
    nb = sum(y * y for y in b[:n]) ** 0.5
    return dot / (na * nb) if na and nb else 0.0


def pictures(tags):
    """The WM/Picture attributes as (type, mime, description, data), parsed from their raw bytes."""
    found = []
    for attribute in tags.get("WM/Picture", []):
        raw = attribute.value
        kind, size = raw[0], struct.unpack("<I", raw[1:5])[0]
        texts, at = [], 5
        for _ in range(2):
            end = at
            while raw[end:end + 2] != b"\0\0":
                end += 2
            texts.append(raw[at:end].decode("utf-16-le"))
            at = end + 2
        found.append((kind, texts[0], texts[1], raw[at:at + size]))
    return found


def check_tags(path, wanted, track, cover):
    tags = mutagen.asf.ASF(path).tags
    for name, text in wanted.items():
        expect(f"{os.path.basename(path)} {name}", [str(v) for v in tags.get(name, [])], [text])
    expect(f"{os.path.basename(path)} WM/TrackNumber", [int(str(v)) for v in tags.get("WM/TrackNumber", [])], [track])
    found = pictures(tags)
    expect(f"{os.path.basename(path)} pictures", [(k, m, d) for k, m, d, _ in found],
           [(3, "image/jpeg", "cover picture")])
    expect(f"{os.path.basename(path)} picture data", [data == cover for *_, data in found], [True])


def check(folder):
    sweep = os.path.join(folder, "sweep.wma")
    probe = json.loads(subprocess.run(
        ["ffprobe", "-v", "error", "-print_format", "json", "-show_format", "-show_streams", sweep],
        check=True, capture_output=True).stdout)
    expect("container", probe["format"]["format_name"], "asf")
    audio = [s for s in probe["streams"] if s["codec_type"] == "audio"]
    expect("audio streams", len(audio), 1)
    stream = audio[0]
    expect("codec (the choice: WMA 1 at 96 kbps)", (stream["codec_name"], stream.get("bit_rate")),
           ("wmav1", "96000"))
    expect("rate and channels", (stream["sample_rate"], stream["channels"]), ("44100", 2))

    with wave.open(os.path.join(folder, "sweep.wav"), "rb") as w:
        source = samples(w.readframes(w.getnframes()))
    decoded = samples(subprocess.run(["ffmpeg", "-v", "error", "-i", sweep, "-f", "s16le", "-acodec", "pcm_s16le",
                                      "-"], check=True, capture_output=True).stdout)
    expect("decoded length covers the source and at most two frames of silence more",
           0 <= len(decoded) - len(source) <= 2 * 2 * FRAME, True)
    r = correlation(source, decoded)
    expect(f"decoded audio lies on its source from the first sample (correlation {r:.4f})", r > 0.98, True)

    cover = open(os.path.join(folder, "cover.jpg"), "rb").read()
    check_tags(sweep, SWEEP_TAGS, 7, cover)
    check_tags(os.path.join(folder, "edited.wma"), EDITED_TAGS, 7, cover)


if __name__ == "__main__":
    sys.exit(run(__doc__, check))
