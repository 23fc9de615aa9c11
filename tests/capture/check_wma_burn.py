"""Reads the WMA files that burn_e2e_tests converted from the recorder simulator's sample disc with
tools that share no code with the program or its WMA library: Debian's ffmpeg decodes each file
completely (no decoding errors) and gives its length; mutagen reads its ASF tags.

Usage: check_wma_burn.py FOLDER   (FOLDER holds track-1.wma to track-3.wma)
"""

import os
import subprocess
import sys

from mutagen.asf import ASF

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from checklist import expect, run  # noqa: E402

# The simulator's sample disc as its CD-TEXT has it: track n lasts 4 s plus (n - 1) fifths.
TITLES = ["Morning Tide Over Pier Seven", "Lanterns on the Breakwater", "Last Ferry to Saltmarsh"]
ARTISTS = ["Ada Lovelock Trio", "Ben Okafor Quartet", "Clara Wendt and the Gulls"]
GENRES = ["Jazz", "Classical", "Folk"]


def tag(asf, name):
    values = asf.tags.get(name) if asf.tags is not None else None
    return str(values[0].value) if values else None


def check(folder):
    for n in range(1, 4):
        path = os.path.join(folder, "track-%d.wma" % n)
        print(os.path.basename(path))
        decode = subprocess.run(["ffmpeg", "-v", "error", "-i", path, "-f", "s16le", "-"],
                                capture_output=True, check=False)
        expect("decoded without errors", (decode.returncode, decode.stderr.decode(errors="replace")), (0, ""))
        seconds = len(decode.stdout) / (44100 * 4)
        wanted = 4 + 0.2 * (n - 1)
        expect("length %.2f s within 0.1 s of %.1f s" % (seconds, wanted), abs(seconds - wanted) <= 0.1, True)
        asf = ASF(path)
        expect("title", tag(asf, "Title"), TITLES[n - 1])
        expect("artist", tag(asf, "Author"), ARTISTS[n - 1])
        # CD-TEXT names the disc, not the tracks' album: that comes from the music player, and
        # there is none here (the album attribute itself is checked by the library's own test).
        expect("no album", tag(asf, "WM/AlbumTitle"), None)
        expect("genre", tag(asf, "WM/Genre"), GENRES[n - 1])
        expect("track number", tag(asf, "WM/TrackNumber"), str(n))


sys.exit(run(__doc__, check))
