#!/usr/bin/python3
"""Checks a burn folder as a reader that knows only the formats would: the cue sheet as the
SEND CUE SHEET entries of the SCSI Multi-Media Commands, the lead-in as raw P-W sub-channel
blocks carrying CD-TEXT packs in R-W and the table of contents in Q, and the track WAV files.

usage: check_burn.py BURN_FOLDER [--expect FILE.json] [--sources DIR] [--no-cdtext]

--expect names a JSON file with what the burn must hold (all keys optional):
  "tracks": n, "pregaps": [frames...], "lengths": [frames...],
  "texts": {"title": [disc, track 1, ...] or null for no such packs, ... "message": ...},
  "genres": [[code, text] for the disc and, when given, each track] or null,
  "audio": [[source file, first frame] for each track]  (compared with --sources DIR)
Exits 0 when everything holds, else prints every failure and exits 1.
"""

import argparse
import json
import os
import re
import struct
import sys

FRAMES_PER_SECOND = 75
BYTES_PER_FRAME = 2352
TEXT_TYPES = {0x80: "title", 0x81: "performer", 0x82: "songwriter", 0x83: "composer",
              0x84: "arranger", 0x85: "message"}
GENRE_TYPE = 0x87
SIZE_TYPE = 0x8F
GENRE_CODES = {"Adult Contemporary": 2, "Alternative Rock": 3, "Childrens Music": 4, "Classical": 5,
               "Contemporary Christian": 6, "Country": 7, "Dance": 8, "Easy Listening": 9,
               "Erotic": 10, "Folk": 11, "Gospel": 12, "Hip Hop": 13, "Jazz": 14, "Latin": 15,
               "Musical": 16, "New Age": 17, "Opera": 18, "Operetta": 19, "Pop Music": 20,
               "Rap": 21, "Reggae": 22, "Rock Music": 23, "Rhythm & Blues": 24,
               "Sound Effects": 25, "Spoken Word": 26, "World Music": 27}


class Checker:
    def __init__(self):
        self.failures = []

    def check(self, condition, message):
        if not condition:
            self.failures.append(message)
        return condition


def crc16(data):
    """CRC-16, polynomial x^16 + x^12 + x^5 + 1, start 0."""
    crc = 0
    for byte in data:
        crc ^= byte << 8
        for _ in range(8):
            crc = ((crc << 1) ^ 0x1021) if crc & 0x8000 else crc << 1
            crc &= 0xFFFF
    return crc


def stored_crc_ok(frame, length):
    return struct.unpack(">H", bytes(frame[length:length + 2]))[0] == crc16(frame[:length]) ^ 0xFFFF


def msf(minute, second, frame):
    return (minute * 60 + second) * FRAMES_PER_SECOND + frame


def from_bcd(value):
    return (value >> 4) * 10 + (value & 0x0F)


# --- cuesheet.dat -------------------------------------------------------------------------------

def read_cue_sheet(c, path, cdtext):
    """Returns per track (index0 or None, index1, length) and the lead-out time, in frames."""
    data = open(path, "rb").read()
    if not c.check(len(data) >= 24 and len(data) % 8 == 0, f"cuesheet.dat: {len(data)} bytes"):
        return [], 0
    entries = [data[i:i + 8] for i in range(0, len(data), 8)]
    for number, e in enumerate(entries):
        c.check(e[0] == 0x01, f"cue entry {number}: CTL/ADR {e[0]:#04x}, expected audio with ADR 1")
        c.check(e[4] == 0, f"cue entry {number}: SCMS byte {e[4]:#04x}")
        c.check(e[6] < 60 and e[7] < FRAMES_PER_SECOND, f"cue entry {number}: time {e[5]}:{e[6]}:{e[7]}")
    lead_in, lead_out = entries[0], entries[-1]
    c.check(lead_in[1] == 0 and lead_in[2] == 0 and msf(*lead_in[5:8]) == 0,
            f"first cue entry is not the lead-in at 00:00:00: {lead_in.hex()}")
    c.check(lead_in[3] == (0x41 if cdtext else 0x01),
            f"lead-in DATA FORM {lead_in[3]:#04x} does not match CD-TEXT {'present' if cdtext else 'absent'}")
    c.check(lead_out[1] == 0xAA and lead_out[2] == 1, f"last cue entry is not the lead-out: {lead_out.hex()}")
    tracks = []
    previous_time = 0
    for e in entries[1:-1]:
        track, index, time = e[1], e[2], msf(*e[5:8])
        c.check(e[3] in (0x00, 0x01), f"track {track} index {index}: DATA FORM {e[3]:#04x}")
        c.check(time >= previous_time, f"track {track} index {index}: time goes back")
        previous_time = time
        if index == 0:
            c.check(track == len(tracks) + 1, f"index 0 of track {track} after track {len(tracks)}")
            tracks.append([time, None, 0])
        elif index == 1:
            if tracks and tracks[-1][1] is None and track == len(tracks):
                c.check(time > tracks[-1][0], f"track {track}: index 1 not after index 0")
                tracks[-1][1] = time
            else:
                c.check(track == len(tracks) + 1, f"index 1 of track {track} after track {len(tracks)}")
                tracks.append([None, time, 0])
        else:
            c.check(False, f"track {track}: unexpected index {index}")
    lead_out_time = msf(*lead_out[5:8])
    c.check(lead_out_time > previous_time, "lead-out does not follow the last track")
    c.check(bool(tracks) and tracks[0][0] == 0, "track 1 does not start at 00:00:00 with its pregap")
    for number, track in enumerate(tracks):
        c.check(track[1] is not None, f"track {number + 1} has no index 1")
        following = tracks[number + 1] if number + 1 < len(tracks) else None
        end = lead_out_time if following is None else (following[0] if following[0] is not None else following[1])
        track[2] = end - (track[1] or 0)
    return [tuple(t) for t in tracks], lead_out_time


# --- leadin.dat ---------------------------------------------------------------------------------

def read_lead_in(c, path):
    """Returns the blocks as (P bits, Q bytes, four 18-byte packs)."""
    data = open(path, "rb").read()
    if not c.check(len(data) > 0 and len(data) % 96 == 0, f"leadin.dat: {len(data)} bytes"):
        return []
    blocks = []
    for start in range(0, len(data), 96):
        symbols = data[start:start + 96]
        p_bits = [s >> 7 for s in symbols]
        q = bytearray(12)
        for bit, s in enumerate(symbols):
            q[bit // 8] |= ((s >> 6) & 1) << (7 - bit % 8)
        rw = [s & 0x3F for s in symbols]
        packed = bytearray()
        for i in range(0, 96, 4):
            a, b, cc, d = rw[i:i + 4]
            packed += bytes([(a << 2) | (b >> 4), ((b & 0x0F) << 4) | (cc >> 2), ((cc & 0x03) << 6) | d])
        blocks.append((p_bits, bytes(q), [bytes(packed[i:i + 18]) for i in range(0, 72, 18)]))
    return blocks


def check_toc(c, blocks, tracks, lead_out):
    """Q in the lead-in: mode-1 table of contents entries with valid checks."""
    points = {}
    for number, (p_bits, q, _) in enumerate(blocks):
        c.check(any(p_bits), f"lead-in block {number}: P channel empty")
        if not c.check(stored_crc_ok(q, 10), f"lead-in block {number}: Q check fails"):
            continue
        c.check(q[0] & 0x0F == 1 and q[1] == 0, f"lead-in block {number}: Q is not a mode-1 TOC entry")
        points[q[2]] = q[7:10]
    for number, track in enumerate(tracks, 1):
        entry = points.get(int(str(number), 16))
        c.check(entry is not None and msf(*map(from_bcd, entry)) == track[1],
                f"TOC start of track {number} differs from the cue sheet")
    c.check(0xA0 in points and from_bcd(points[0xA0][0]) == 1, "TOC A0 does not name track 1 first")
    c.check(0xA1 in points and from_bcd(points[0xA1][0]) == len(tracks), "TOC A1 does not name the last track")
    c.check(0xA2 in points and msf(*map(from_bcd, points[0xA2])) == lead_out, "TOC A2 differs from the lead-out")


def split_cycles(c, packs):
    """Sequence numbers run 0, 1, 2 ... up to the last of the block, then start again."""
    cycles = []
    for number, pack in enumerate(packs):
        if pack[2] == 0:
            cycles.append([])
        elif not c.check(bool(cycles) and pack[2] == cycles[-1][-1][2] + 1,
                         f"pack {number}: sequence number {pack[2]} does not run on from the pack before"):
            return []
        cycles[-1].append(pack)
    return cycles


def parse_items(stream, count, genre):
    """count zero-terminated items; a genre item starts with its two-byte code."""
    items, starts, at = [], [], 0
    for _ in range(count):
        starts.append(at)
        if genre:
            code = struct.unpack(">H", stream[at:at + 2])[0]
            end = stream.index(b"\0", at + 2)
            items.append([code, stream[at + 2:end].decode("latin-1")])
        else:
            end = stream.index(b"\0", at)
            items.append(stream[at:end].decode("latin-1"))
        at = end + 1
    return items, starts, at


def items_of(c, type_name, packs, count, genre=False):
    """The items of one pack type, checking each pack's track number and character position."""
    stream = b"".join(p[4:16] for p in packs)
    try:
        items, starts, end = parse_items(stream, count, genre)
    except (ValueError, struct.error):
        c.check(False, f"{type_name}: fewer than {count} items")
        return None
    c.check(not any(stream[end:]) and len(stream) - end < 12, f"{type_name}: more than padding after the items")
    for number, pack in enumerate(packs):
        offset = number * 12
        owner = max(i for i, start in enumerate(starts) if start <= offset)
        c.check(pack[1] == owner, f"{type_name} pack {number}: track number {pack[1]}, expected {owner}")
        c.check(pack[3] & 0x0F == min(offset - starts[owner], 15),
                f"{type_name} pack {number}: character position {pack[3] & 0x0F}")
    return items


def check_cdtext(c, cycle, track_count):
    """Decodes one cycle of packs into {type name: items}."""
    for number, pack in enumerate(cycle):
        c.check(pack[0] >= 0x80, f"pack {number}: type {pack[0]:#04x} is not CD-TEXT")
        c.check(pack[3] & 0xF0 == 0, f"pack {number}: not single-byte text of block 0")
        c.check(pack[1] & 0x80 == 0, f"pack {number}: extension flag set")
    types = [p[0] for p in cycle]
    c.check(types == sorted(types), "pack types are not in ascending order")
    size_packs = [p for p in cycle if p[0] == SIZE_TYPE]
    if not c.check(len(size_packs) == 3 and cycle[-3:] == size_packs, "the cycle does not end with 3 size packs"):
        return {}
    c.check([p[1] for p in size_packs] == [0, 1, 2], "size packs are not numbered 0, 1, 2")
    info = b"".join(p[4:16] for p in size_packs)
    c.check(info[0] in (0x00, 0x01), f"size info: character code {info[0]:#04x}")
    c.check(info[1] == 1 and info[2] == track_count, f"size info: tracks {info[1]} to {info[2]}")
    for offset in range(16):
        actual = types.count(0x80 + offset)
        c.check(info[4 + offset] == actual, f"size info: {info[4 + offset]} packs of type "
                f"{0x80 + offset:#04x}, the cycle has {actual}")
    c.check(info[20] == cycle[-1][2], f"size info: last sequence number {info[20]}, the cycle ends at {cycle[-1][2]}")
    c.check(info[21:28] == bytes(7) and info[29:36] == bytes(7), "size info: other blocks announced")
    decoded = {}
    for pack_type in sorted(set(types) - {SIZE_TYPE}):
        packs = [p for p in cycle if p[0] == pack_type]
        if pack_type in TEXT_TYPES:
            decoded[TEXT_TYPES[pack_type]] = items_of(c, TEXT_TYPES[pack_type], packs, track_count + 1)
        elif pack_type == GENRE_TYPE:
            # The genre belongs to the disc; tracks have items of their own only when some track has a
            # genre, and then something other than padding follows the disc's item.
            stream = b"".join(p[4:16] for p in packs)
            disc_end = stream.find(b"\0", 2) + 1
            count = track_count + 1 if any(stream[disc_end:]) else 1
            items = items_of(c, "genre", packs, count, genre=True) or []
            for code, text in items:
                if text in GENRE_CODES:
                    c.check(code == GENRE_CODES[text], f"genre {text!r} has code {code}")
            decoded["genre"] = items
        else:
            c.check(False, f"unexpected pack type {pack_type:#04x}")
    return decoded


# --- WAV files ----------------------------------------------------------------------------------

def read_wav(c, path):
    """Returns the PCM data of a canonical 16-bit stereo 44.1 kHz WAV, or None."""
    data = open(path, "rb").read()
    name = os.path.basename(path)
    if not c.check(len(data) >= 44 and data[:4] == b"RIFF" and data[8:12] == b"WAVE", f"{name}: not RIFF WAVE"):
        return None
    c.check(struct.unpack("<I", data[4:8])[0] == len(data) - 8, f"{name}: RIFF size differs from the file")
    at, fmt, pcm = 12, None, None
    while at + 8 <= len(data):
        chunk, size = data[at:at + 4], struct.unpack("<I", data[at + 4:at + 8])[0]
        if chunk == b"fmt ":
            fmt = struct.unpack("<HHIIHH", data[at + 8:at + 24])
        elif chunk == b"data":
            c.check(at + 8 + size == len(data), f"{name}: data size {size} differs from the file")
            pcm = data[at + 8:at + 8 + size]
        at += 8 + size + (size & 1)
    c.check(fmt == (1, 2, 44100, 176400, 4, 16), f"{name}: format {fmt}, expected 16-bit stereo 44.1 kHz PCM")
    c.check(pcm is not None, f"{name}: no data chunk")
    return pcm


def loudness(pcm):
    samples = struct.unpack(f"<{len(pcm) // 2}h", pcm[:len(pcm) // 2 * 2])
    return (sum(s * s for s in samples[::7]) / max(1, len(samples[::7]))) ** 0.5


def source_pcm(path):
    data = open(path, "rb").read()
    at = 12
    while data[at:at + 4] != b"data":
        at += 8 + struct.unpack("<I", data[at + 4:at + 8])[0]
    size = struct.unpack("<I", data[at + 4:at + 8])[0]
    return data[at + 8:at + 8 + size]


def check_wavs(c, folder, tracks, expect, sources):
    names = sorted(n for n in os.listdir(folder) if n.lower().endswith(".wav"))
    c.check(len(names) == len(tracks), f"{len(names)} WAV files for {len(tracks)} tracks")
    contents = []
    for name in names:
        digits = re.search(r"\d\d", name)
        index = int(digits.group()) if digits else -1
        if not c.check(0 <= index < len(tracks) and re.match(r"^\D*\d\d", name),
                       f"{name}: first digits are not a track index"):
            continue
        pcm = read_wav(c, os.path.join(folder, name))
        if pcm is None:
            continue
        length = tracks[index][2]
        c.check(len(pcm) == length * BYTES_PER_FRAME,
                f"{name}: {len(pcm)} bytes of audio, the cue sheet gives {length} frames")
        c.check(loudness(pcm) > 300, f"{name}: silent")
        contents.append(pcm)
        if expect.get("audio"):
            source, first = expect["audio"][index]
            whole = source_pcm(os.path.join(sources, source))
            wanted = whole[first * BYTES_PER_FRAME:first * BYTES_PER_FRAME + len(pcm)]
            wanted += bytes(len(pcm) - len(wanted))
            c.check(pcm == wanted, f"{name}: audio differs from {source} from frame {first}")
    # Tracks differ in length; their openings must differ too.
    shortest = min((len(pcm) for pcm in contents), default=0)
    c.check(len({pcm[:shortest] for pcm in contents}) == len(contents), "two tracks start with the same audio")


# --- main ---------------------------------------------------------------------------------------

def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("folder")
    parser.add_argument("--expect")
    parser.add_argument("--sources")
    parser.add_argument("--no-cdtext", action="store_true")
    args = parser.parse_args()
    expect = json.load(open(args.expect)) if args.expect else {}
    c = Checker()

    tracks, lead_out = read_cue_sheet(c, os.path.join(args.folder, "cuesheet.dat"), not args.no_cdtext)
    if "tracks" in expect:
        c.check(len(tracks) == expect["tracks"], f"{len(tracks)} tracks, expected {expect['tracks']}")
    if "pregaps" in expect:
        pregaps = [t[1] - t[0] if t[0] is not None else 0 for t in tracks]
        c.check(pregaps == expect["pregaps"], f"pregaps {pregaps}, expected {expect['pregaps']}")
    if "lengths" in expect:
        lengths = [t[2] for t in tracks]
        c.check(lengths == expect["lengths"], f"lengths {lengths}, expected {expect['lengths']}")

    blocks = read_lead_in(c, os.path.join(args.folder, "leadin.dat"))
    check_toc(c, blocks, tracks, lead_out)
    packs = [p for _, _, four in blocks for p in four]
    if args.no_cdtext:
        c.check(all(p == bytes(18) for p in packs), "R-W carries data although there is no CD-TEXT")
    else:
        for number, pack in enumerate(packs):
            c.check(stored_crc_ok(pack, 16), f"pack {number}: CRC fails")
        cycles = split_cycles(c, packs)
        c.check(len(cycles) >= 2 and all(cycle == cycles[0] for cycle in cycles),
                f"the CD-TEXT is not repeated in whole identical cycles ({len(cycles)} cycles)")
        decoded = check_cdtext(c, cycles[0], len(tracks)) if cycles else {}
        for name in list(TEXT_TYPES.values()):
            if name in expect.get("texts", {}):
                c.check(decoded.get(name) == expect["texts"][name],
                        f"{name}: decoded {decoded.get(name)}, expected {expect['texts'][name]}")
        if "genres" in expect:
            c.check(decoded.get("genre") == expect["genres"],
                    f"genre: decoded {decoded.get('genre')}, expected {expect['genres']}")

    check_wavs(c, args.folder, tracks, expect, args.sources)
    for failure in c.failures:
        print("FAIL:", failure)
    print(f"{args.folder}: {len(tracks)} tracks, {len(blocks)} lead-in blocks, "
          f"{len(c.failures)} failures")
    return 1 if c.failures else 0


if __name__ == "__main__":
    sys.exit(main())
