"""Reads the MP3 files that player_lookup_tests converted from burns into the running program while
the player double held the burned playlist, with mutagen (which shares no code with id3lib): the
playlist's texts and track numbers, its cover, and which track's audio each file holds.

Usage: check_player_tags.py FOLDER
  (FOLDER holds CASE-1.mp3 to CASE-3.mp3 and CASE-cover.jpg for the cases cd-text and cue-sheet)
"""

import os
import sys

from mutagen.id3 import ID3
from mutagen.mp3 import MP3

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from checklist import MP3_LENGTH_TOLERANCE, expect, expect_cover_picture, frame_text, run  # noqa: E402

# The same values are in PlayerBurnEndToEndTest.cpp. The simulator's sample disc: track n lasts the
# burn's length plus (n - 1) fifths of a second.
PLAYLISTS = {
    # Found by its name and its titles, which the burn's CD-TEXT carries.
    "cd-text": {
        "titles": ["Morning Tide Over Pier Seven", "Lanterns on the Breakwater", "Last Ferry to Saltmarsh"],
        "artists": ["Ada Lovelock Trio", "Ben Okafor Quartet", "Clara Wendt and the Gulls"],
        "numbers": [5, 6, 7],
        "seconds": [2.0, 2.2, 2.4],
        "frames": {"TALB": "Harbour Lights Suite (Remastered)", "TYER": "2004", "TCON": "Jazz",
                   "TCOM": "Dora Finch"},
        "comment": "From the player",
    },
    # Found by its tracks' lengths alone: the burn carries no CD-TEXT.
    "cue-sheet": {
        "titles": ["Harbour Bell at Midnight", "Fog Over the Slipway", "Lights Out on Quay Four"],
        "artists": ["Nora Quist", "Pavel Dane", "Rosa Keel Band"],
        "numbers": [11, 12, 13],
        "seconds": [3.8, 4.0, 4.2],
        "frames": {"TALB": "Live at the Ferry Terminal", "TYER": "1998", "TCON": "Blues", "TCOM": "Ines Varga"},
        "comment": "Matched by its lengths",
    },
}

def check_track(path, playlist, index, cover):
    # Only the ID3v2 tag carries all of the player's fields; mutagen would otherwise merge in v1.
    tag = ID3(path, translate=False, load_v1=False)
    expect("TIT2", frame_text(tag, "TIT2"), [playlist["titles"][index]])
    expect("TPE1", frame_text(tag, "TPE1"), [playlist["artists"][index]])
    expect("TRCK", frame_text(tag, "TRCK"), [str(playlist["numbers"][index])])
    for frame_id, value in playlist["frames"].items():
        expect(frame_id, frame_text(tag, frame_id), [value])
    expect("COMM", [str(t) for c in tag.getall("COMM") for t in c.text], [playlist["comment"]])
    expect_cover_picture(tag, cover, "APIC data is the player's cover")
    seconds = playlist["seconds"][index]
    expect(f"length near {seconds:.1f} s", abs(MP3(path).info.length - seconds) <= MP3_LENGTH_TOLERANCE, True)


def check(folder):
    for case, playlist in PLAYLISTS.items():
        print(f"== {case}")
        with open(os.path.join(folder, f"{case}-cover.jpg"), "rb") as file:
            cover = file.read()
        # An empty cover would match an empty picture.
        expect("the player's cover is a JPEG", cover[:3], b"\xff\xd8\xff")
        for index in range(len(playlist["titles"])):
            path = os.path.join(folder, f"{case}-{index + 1}.mp3")
            print(os.path.basename(path))
            check_track(path, playlist, index, cover)


if __name__ == "__main__":
    sys.exit(run(__doc__, check))
