#!/usr/bin/python3
"""Checks the files EncodeOutput left, with readers that share no code with the program:
the WAV byte for byte, the MP3s (one of them from an 8-bit mono source at 48 kHz) decoded by
mpg123 and compared with their sources, their frames walked, and their tags read by mutagen."""
import os
import struct
import subprocess
import sys
import tempfile
import wave

import mutagen.id3
import mutagen.mp3

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def pcm_of(path):
    with wave.open(path, "rb") as w:
        return w.getnchannels(), w.getframerate(), w.readframes(w.getnframes())


def samples(pcm):
    return struct.unpack("<%dh" % (len(pcm) // 2), pcm[: len(pcm) // 2 * 2])


def correlation(a, b):
    n = min(len(a), len(b))
    a, b = a[:n], b[:n]
    dot = sum(x * y for x, y in zip(a, b))
    na = sum(x * x for x in a) ** 0.5
    nb = sum(y * y for y in b) ** 0.5
    return dot / (na * nb) if na and nb else 0.0


def check_wav(folder, source_pcm):
    data = open(os.path.join(folder, "copy.wav"), "rb").read()
    n = len(source_pcm)
    check(len(data) == 56 + n + n % 2, "copy.wav: %d bytes, expected %d" % (len(data), 56 + n))
    check(data[:4] == b"RIFF" and struct.unpack("<I", data[4:8])[0] == 48 + n + n % 2, "copy.wav: RIFF size")
    check(data[36:40] == b"fact" and struct.unpack("<I", data[44:48])[0] == 0, "copy.wav: fact value")
    check(data[56 : 56 + n] == source_pcm, "copy.wav: PCM differs from the source")


def check_mp3_audio(folder, name, source, channels, rate=44100):
    """The MP3 decodes to the source's samples (signed 16-bit, interleaved), give or take the
    encoder's delay and padding, and returns its stream information."""
    path = os.path.join(folder, name)
    info = mutagen.mp3.MP3(path).info
    check(info.version == 1 and info.layer == 3 and info.sample_rate == rate and info.channels == channels,
          "%s: not MPEG-1 layer III %d Hz with %d channels" % (name, rate, channels))
    with tempfile.TemporaryDirectory() as scratch:
        decoded = os.path.join(scratch, "decoded.wav")
        subprocess.run(["mpg123", "-q", "-w", decoded, path], check=True)
        _, _, pcm = pcm_of(decoded)
    out = samples(pcm)
    # Encoder delay and padding: at most one granule of delay and one frame of padding.
    check(abs(len(out) - len(source)) <= channels * (576 + 1152),
          "%s: decoded %d samples, source %d" % (name, len(out), len(source)))
    r = correlation(source[: channels * 44100 * 4], out[: channels * 44100 * 4])
    check(r > 0.99, "%s: decoded audio correlates %.4f with the source" % (name, r))
    return info


def frames(data):
    """The frames between the ID3v2 tag and the ID3v1 block as (offset, header, kbit/s, length);
    they must fill that span exactly."""
    at = 10 + sum((b & 0x7F) << (21 - 7 * i) for i, b in enumerate(data[6:10])) if data[:3] == b"ID3" else 0
    end = len(data) - 128 if data[-128:-125] == b"TAG" else len(data)
    found = []
    while at + 4 <= end and data[at] == 0xFF and data[at + 1] & 0xFE == 0xFA:
        kbps = [0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0][data[at + 2] >> 4]
        rate = [44100, 48000, 32000, 1][(data[at + 2] >> 2) & 3]
        length = 144000 * kbps // rate + ((data[at + 2] >> 1) & 1)
        found.append((at, data[at:at + 4], kbps, length))
        at += max(length, 1)
    check(at == end and found, "the MPEG-1 layer III frames do not fill the file between its tags")
    return found


def check_frames(name, data, vbr, bitrates=True):
    """Every frame carries a CRC and borrows nothing from the bit reservoir; the first holds the
    Info (constant) or Xing (variable) tag with the count of the frames after it and of all bytes."""
    found = frames(data)
    if not found:
        return
    check(all(h[1] & 1 == 0 for _, h, _, _ in found), "%s: a frame without CRC" % name)
    check(all(data[at + 6] == 0 and data[at + 7] < 0x80 for at, _, _, _ in found),
          "%s: a frame takes from the bit reservoir" % name)
    first = found[0][0] + 4 + (17 if found[0][1][3] >> 6 == 3 else 32)
    tag, flags, count, size = data[first:first + 4], *struct.unpack(">III", data[first + 4:first + 16])
    check(tag == (b"Xing" if vbr else b"Info") and flags & 3 == 3,
          "%s: %r tag with flags %d" % (name, tag, flags))
    check(count == len(found) - 1 and size == sum(f[3] for f in found),
          "%s: the tag counts %d frames of %d bytes" % (name, count, size))
    rates = {kbps for _, _, kbps, _ in found[1:]}
    if bitrates:
        varied = len(rates) > 1 and rates <= {160, 192, 224}
        check(varied if vbr else rates == {160}, "%s: bitrates %s" % (name, sorted(rates)))


def check_bitrate(name, info, bitrate_kbps, vbr):
    if vbr:
        check(160 <= info.bitrate // 1000 <= 224, "%s: VBR bitrate %d outside 160-224" % (name, info.bitrate))
    else:
        check(abs(info.bitrate // 1000 - bitrate_kbps) <= 1, "%s: bitrate %d" % (name, info.bitrate))


def check_tags(path, artwork):
    name = os.path.basename(path)
    raw = open(path, "rb").read()
    check(raw[:3] == b"ID3", "%s: no ID3v2 tag at the front" % name)
    size = ((raw[6] & 0x7F) << 21) | ((raw[7] & 0x7F) << 14) | ((raw[8] & 0x7F) << 7) | (raw[9] & 0x7F)
    check(raw[10 + size : 10 + size + 2] in (b"\xff\xfb", b"\xff\xfa", b"\xff\xf3", b"\xff\xf2") or
          raw[10 + size] == 0xFF, "%s: the audio does not follow the tag at once (padding?)" % name)
    tags = mutagen.id3.ID3(path)
    expected = {"TIT2": "Lanterns on the Breakwater", "TPE1": "Ben Okafor Quartet",
                "TALB": "Harbour Lights Suite", "TCON": "Rock", "TCOM": "Tomas Feld",
                "TOPE": "Ines Varga", "TCOP": "2026 Quayside Records", "TENC": "Quaverlane", "TRCK": "2"}
    for frame, text in expected.items():
        got = str(tags.get(frame)) if tags.get(frame) is not None else None
        check(got == text, "%s: %s is %r, expected %r" % (name, frame, got, text))
    years = [str(f) for key in ("TYER", "TDRC") for f in tags.getall(key)]
    check("2026" in years, "%s: year %r" % (name, years))
    comments = [c.text[0] for c in tags.getall("COMM")]
    check("Recorded live at dusk" in comments, "%s: comment %r" % (name, comments))
    urls = [u.url for u in tags.getall("WXXX")]
    check("http://quayside.example/lanterns" in urls, "%s: url %r" % (name, urls))
    pictures = tags.getall("APIC")
    check(len(pictures) == 1, "%s: %d pictures" % (name, len(pictures)))
    if pictures:
        p = pictures[0]
        check(p.type == 1 and p.mime == "image/jpeg" and p.desc == "cover picture",
              "%s: picture type %d mime %r desc %r" % (name, p.type, p.mime, p.desc))
        check(p.data == artwork, "%s: picture bytes differ" % name)
    v1 = raw[-128:]
    check(v1[:3] == b"TAG", "%s: no ID3v1 tag in the last 128 bytes" % name)
    check(v1[3:33].rstrip(b"\0 ") == b"Lanterns on the Breakwater", "%s: v1 title" % name)
    check(v1[33:63].rstrip(b"\0 ") == b"Ben Okafor Quartet", "%s: v1 artist" % name)
    check(v1[63:93].rstrip(b"\0 ") == b"Harbour Lights Suite", "%s: v1 album" % name)
    check(v1[93:97] == b"2026", "%s: v1 year" % name)
    check(v1[127] == 17, "%s: v1 genre byte %d, expected 17 (Rock)" % (name, v1[127]))


def main():
    folder = sys.argv[1]
    _, _, source_pcm = pcm_of(os.path.join(folder, "source.wav"))
    artwork = open(os.path.join(folder, "cover.jpg"), "rb").read()
    check_wav(folder, source_pcm)
    for name, rate, vbr in (("cbr160.mp3", 160, False), ("vbr160-224.mp3", 160, True)):
        check_bitrate(name, check_mp3_audio(folder, name, samples(source_pcm), 2), rate, vbr)
        check_frames(name, open(os.path.join(folder, name), "rb").read(), vbr)
        check_tags(os.path.join(folder, name), artwork)
    # Cut short by the recorder: as long as what it holds, not as its head promises.
    _, _, truncated_pcm = pcm_of(os.path.join(folder, "truncated.wav"))
    check_mp3_audio(folder, "truncated.mp3", samples(truncated_pcm), 2)
    # An empty track still gives a whole file, at the bitrate the preset left chosen.
    check_frames("empty.mp3", open(os.path.join(folder, "empty.mp3"), "rb").read(), True, bitrates=False)
    # 8-bit PCM is unsigned: its samples are the bytes less 128, scaled to 16 bits.
    _, _, eight_bit = pcm_of(os.path.join(folder, "eightbit.wav"))
    check_mp3_audio(folder, "eightbit.mp3", [(b - 128) << 8 for b in eight_bit], 1, 48000)
    raw = open(os.path.join(folder, "eightbit.mp3"), "rb").read()
    check(raw[:3] != b"ID3" and raw[-128:-125] != b"TAG", "eightbit.mp3: tagged with both tags turned off")
    for failure in failures:
        print("FAIL:", failure)
    print("%d checks failed" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
