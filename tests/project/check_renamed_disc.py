"""Reads the MP3 files of a renamed disc, which project_tests left behind, with mutagen (which
shares no code with id3lib) and the ID3v1 block with code of its own.

Usage: check_renamed_disc.py FOLDER   (FOLDER holds renamed.mp3 and untouched.mp3)
"""

import os
import sys

from mutagen.id3 import ID3

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from checklist import expect, frame_text, run  # noqa: E402


def version1_title(path):
    with open(path, "rb") as f:
        f.seek(-128, os.SEEK_END)
        block = f.read(128)
    return block[3:33].rstrip(b"\0 ").decode("latin-1") if block[:3] == b"TAG" else None


def check(folder):
    renamed = os.path.join(folder, "renamed.mp3")
    tag = ID3(renamed, translate=False, load_v1=False)
    print("renamed.mp3")
    expect("TIT2", frame_text(tag, "TIT2"), ["Party - Song"])
    expect("TPE1", frame_text(tag, "TPE1"), ["Band"])
    expect("TRCK", frame_text(tag, "TRCK"), ["5"])
    expect("ID3v1 title", version1_title(renamed), "Party - Song")

    untouched = os.path.join(folder, "untouched.mp3")
    print("untouched.mp3")
    expect("TIT2", frame_text(ID3(untouched, translate=False, load_v1=False), "TIT2"), ["Song"])


if __name__ == "__main__":
    sys.exit(run(__doc__, check))
