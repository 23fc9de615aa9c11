"""Reads the files that track_finish_tests converted from the recorder simulator's burns: the MP3
tags with mutagen, which shares no code with id3lib, the MP3 lengths from mutagen's reading of the
frames, and the WAV files with Python's wave module.

Usage: check_finished_tracks.py FOLDER   (FOLDER holds one folder per case)
"""

import os
import sys
import wave

from mutagen.id3 import ID3
from mutagen.mp3 import MP3

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from checklist import MP3_LENGTH_TOLERANCE, expect, frame_text, verdict  # noqa: E402

# The simulator's sample disc: track n lasts the burn's length plus (n - 1) fifths of a second.
ALBUM = "Harbour Lights Suite"
TITLES = ["Morning Tide Over Pier Seven", "Lanterns on the Breakwater", "Last Ferry to Saltmarsh"]
ARTISTS = ["Ada Lovelock Trio", "Ben Okafor Quartet", "Clara Wendt and the Gulls"]

def check_mp3(path, title, artist, album, track, seconds):
    print(os.path.relpath(path, ROOT))
    if not os.path.isfile(path):
        expect("exists", False, True)
        return
    tag = ID3(path, translate=False, load_v1=False)
    expect("TIT2", frame_text(tag, "TIT2"), [title])
    expect("TPE1", frame_text(tag, "TPE1"), [artist] if artist else None)
    expect("TALB", frame_text(tag, "TALB"), [album] if album else None)
    expect("TRCK", frame_text(tag, "TRCK"), [str(track)])
    with open(path, "rb") as f:
        f.seek(-128, os.SEEK_END)
        version1 = f.read(128)
    expect("ID3v1 title", version1[3:33].rstrip(b"\0").decode("latin-1"), title[:30])
    info = MP3(path).info
    expect("44.1 kHz stereo", (info.sample_rate, info.channels), (44100, 2))
    if seconds is None:
        return
    expect(f"length near {seconds:.2f} s", abs(info.length - seconds) <= MP3_LENGTH_TOLERANCE, True)


def check_wav(path, seconds):
    print(os.path.relpath(path, ROOT))
    with wave.open(path, "rb") as w:
        expect("16-bit stereo at 44.1 kHz", (w.getsampwidth(), w.getnchannels(), w.getframerate()), (2, 2, 44100))
        expect("samples", w.getnframes(), round(seconds * 75) * 588)
        pcm = w.readframes(w.getnframes())
    with open(path, "rb") as f:
        head = f.read(56)
    expect("fact chunk after fmt", head[36:40], b"fact")
    return pcm


def artist_wav(folder):
    for i in range(3):
        name = "%02d-%s.WAV" % (i + 1, TITLES[i])
        pcm = check_wav(os.path.join(folder, ARTISTS[i], ALBUM, name), 1 + 0.2 * i)
        if i == 0:
            with wave.open(os.path.join(folder, "captured-01.wav"), "rb") as w:
                expect("PCM as captured", pcm == w.readframes(w.getnframes()), True)


def empty_format(folder):
    for i in range(3):
        # No CD-TEXT and no player: the title is made from the disc label, the number is the CD's.
        check_mp3(os.path.join(folder, "Disc#001-track%02d.MP3" % (i + 1)), "Disc#001-Track%02d" % (i + 1), None,
                  None, i + 1, 1 + 0.2 * i)
        check_mp3(os.path.join(folder, TITLES[i] + ".MP3"), TITLES[i], ARTISTS[i], ALBUM, i + 1, 1 + 0.2 * i)


def truncated(folder):
    check_mp3(os.path.join(folder, "01.MP3"), TITLES[0], ARTISTS[0], ALBUM, 1, 3)
    check_mp3(os.path.join(folder, "02.MP3"), TITLES[1], ARTISTS[1], ALBUM, 2, 3.2 / 3)
    check_mp3(os.path.join(folder, "03.MP3"), TITLES[2], ARTISTS[2], ALBUM, 3, 3.4)


def second_burn(folder):
    for i in range(3):
        check_mp3(os.path.join(folder, ALBUM, TITLES[i] + ".MP3"), TITLES[i], ARTISTS[i], ALBUM, i + 1, 30 + 0.2 * i)
    for i, name in enumerate([".MP3", "1.MP3", "2.MP3"]):
        check_mp3(os.path.join(folder, "Disc#001", name), "Disc#001-Track%02d" % (i + 1), None, None, i + 1, 1 + 0.2 * i)


def stopped(folder):
    # Cut short by the stop; how far it came depends on the machine.
    check_mp3(os.path.join(folder, "01.MP3"), TITLES[0], ARTISTS[0], ALBUM, 1, None)
    expect("length below the minute", MP3(os.path.join(folder, "01.MP3")).info.length < 60, True)


CASES = {
    "artist-wav": artist_wav,
    "empty-format": empty_format,
    "truncated": truncated,
    "second-burn": second_burn,
    "stopped": stopped,
}

ROOT = sys.argv[1]
for case, check in CASES.items():
    print(f"== {case}")
    check(os.path.join(ROOT, case))
sys.exit(verdict())
