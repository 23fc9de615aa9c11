"""Prints each music file with its length and tags as mutagen reads them from the file.

Usage: show-tags.py ROOT FILE...   (names are shown relative to ROOT)
"""

import os
import sys

import mutagen

FIELDS = (("TIT2", "title"), ("TPE1", "artist"), ("TALB", "album"), ("TRCK", "track"), ("TCON", "genre"))


def describe(path):
    audio = mutagen.File(path)
    if audio is None:
        return "not a music file mutagen knows"
    parts = [f"{audio.info.length:.1f} s"]
    tags = audio.tags or {}
    for frame, name in FIELDS:
        if frame in tags:
            parts.append(f"{name} {str(tags[frame])!r}")
    return ", ".join(parts)


root = sys.argv[1]
for path in sys.argv[2:]:
    print(f"{os.path.relpath(path, root)}: {describe(path)}")
