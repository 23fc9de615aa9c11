#!/usr/bin/python3
"""Burns discs with recsim under Wine and checks what it leaves, one case per test.

usage: run_recsim.py CASE --wine-run tools/wine-run.sh --recsim recsim.exe --output DIR
CASE: sample, cue, no_cdtext, pacing, pause, errors, registry.
"""

import argparse
import json
import os
import random
import re
import shutil
import subprocess
import sys
import time
import wave

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.join(HERE, "data")
BYTES_PER_FRAME = 2352
BYTES_PER_SECOND = 176400
# No burn of these tests takes long; anything longer is a hang.
TIMEOUT = 120


class Failure(Exception):
    pass


def expect(condition, message):
    if not condition:
        raise Failure(message)


def windows(path):
    return "Z:" + path.replace("/", "\\")


def fresh(folder):
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    return folder


class Recsim:
    def __init__(self, wine_run, exe):
        self.command = [wine_run, exe]

    def run(self, *args):
        return subprocess.run(self.command + list(args), capture_output=True, text=True, timeout=TIMEOUT)

    def start(self, *args):
        return subprocess.Popen(self.command + list(args), stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)

    def burn(self, capture, *args):
        """Runs a burn that must succeed; returns the burn folder it printed, as a Linux path."""
        result = self.run("--capture", windows(capture), *args)
        expect(result.returncode == 0, f"recsim {' '.join(args)} failed ({result.returncode}): {result.stderr}")
        return printed_folder(result.stdout, capture)


def printed_folder(stdout, capture):
    lines = stdout.splitlines()
    expect(len(lines) == 1, f"recsim printed {lines}, expected the burn folder alone")
    folder = lines[0].strip()
    expect(folder.startswith(windows(capture) + "\\"), f"burn folder {folder} is not in {capture}")
    path = os.path.join(capture, folder[len(windows(capture)) + 1:])
    expect(os.path.isdir(path), f"burn folder {path} does not exist")
    return path


def check(folder, *args):
    result = subprocess.run(["/usr/bin/python3", os.path.join(HERE, "check_burn.py"), folder] + list(args),
                            capture_output=True, text=True)
    print(result.stdout, end="")
    expect(result.returncode == 0, f"check_burn.py found faults in {folder}")


def write_source(path, frames, extra_bytes, seed):
    """A WAV of noise as a burning application would hand it over, made with Python's own wave module."""
    noise = random.Random(seed)
    with wave.open(path, "wb") as out:
        out.setnchannels(2)
        out.setsampwidth(2)
        out.setframerate(44100)
        out.writeframes(noise.randbytes(frames * BYTES_PER_FRAME + extra_bytes))


def wait_until(condition, process):
    """Polls condition every 2 ms while the burn runs; a burn that ends or hangs first fails."""
    deadline = time.monotonic() + TIMEOUT
    while not condition():
        expect(process.poll() is None or condition(), "recsim ended before the awaited file state")
        expect(time.monotonic() < deadline, "recsim hangs")
        time.sleep(0.002)


def burn_folder_of(capture, process):
    wait_until(lambda: os.listdir(capture), process)
    return os.path.join(capture, os.listdir(capture)[0])


def size_of(path):
    return os.path.getsize(path) if os.path.exists(path) else -1


# --- cases --------------------------------------------------------------------------------------

def case_sample(recsim, output):
    capture = fresh(os.path.join(output, "capture"))
    first = recsim.burn(capture, "--speed", "max", "--sample-seconds", "2")
    check(first, "--expect", os.path.join(DATA, "sample_disc.json"))
    # A second burn must land in a folder that sorts after the first, as the program orders burns.
    os.makedirs(os.path.join(capture, "00000007"))
    second = recsim.burn(capture, "--speed", "max", "--sample-seconds", "0.5")
    names = sorted(os.listdir(capture), key=str.lower)
    expect(names[-1] == os.path.basename(second) and second != first,
           f"second burn went to {second}; capture folder holds {names}")


def case_cue(recsim, output):
    disc = fresh(os.path.join(output, "disc"))
    capture = fresh(os.path.join(output, "capture"))
    expectation = os.path.join(DATA, "cdtext_disc.json")
    for name, source in json.load(open(expectation))["sources"].items():
        write_source(os.path.join(disc, name), source["frames"], source["extra_bytes"], source["seed"])
    shutil.copy(os.path.join(DATA, "cdtext_disc.cue"), disc)
    folder = recsim.burn(capture, "--cue", windows(os.path.join(disc, "cdtext_disc.cue")), "--speed", "max")
    check(folder, "--expect", expectation, "--sources", disc)


def case_no_cdtext(recsim, output):
    capture = fresh(os.path.join(output, "capture"))
    folder = recsim.burn(capture, "--speed", "max", "--sample-seconds", "2", "--no-cdtext")
    check(folder, "--no-cdtext", "--expect", os.path.join(DATA, "sample_disc.json"))


def case_pacing(recsim, output):
    """At 4x, writing the audio takes at least 80% of its length / 4; no upper bound is checked."""
    capture = fresh(os.path.join(output, "capture"))
    lengths = json.load(open(os.path.join(DATA, "sample_disc.json")))["lengths"]
    last_size = 44 + lengths[-1] * BYTES_PER_FRAME
    process = recsim.start("--capture", windows(capture), "--speed", "4", "--sample-seconds", "2")
    try:
        folder = burn_folder_of(capture, process)
        wait_until(lambda: os.path.exists(os.path.join(folder, "Track00.wav")), process)
        started = time.monotonic()
        wait_until(lambda: size_of(os.path.join(folder, "Track02.wav")) == last_size, process)
        elapsed = time.monotonic() - started
    finally:
        stdout, stderr = process.communicate(timeout=TIMEOUT)
    expect(process.returncode == 0, f"recsim failed: {stderr}")
    wanted = sum(lengths) * BYTES_PER_FRAME / (4 * BYTES_PER_SECOND)
    print(f"4x: {elapsed:.2f} s for {wanted * 4:.2f} s of audio (the drive's time would be {wanted:.2f} s)")
    expect(elapsed >= 0.8 * wanted, f"the tracks were written in {elapsed:.2f} s, 4x needs {wanted:.2f} s")


def case_pause(recsim, output):
    """--pause-track 2 stops in the middle of track 2: its file stands still, part-written, that long."""
    capture = fresh(os.path.join(output, "capture"))
    lengths = json.load(open(os.path.join(DATA, "sample_disc.json")))["lengths"]
    final = 44 + lengths[1] * BYTES_PER_FRAME
    process = recsim.start("--capture", windows(capture), "--speed", "max", "--sample-seconds", "2",
                           "--pause-track", "2", "--pause-seconds", "2")
    try:
        folder = burn_folder_of(capture, process)
        path = os.path.join(folder, "Track01.wav")
        longest, size, since = 0.0, -1, time.monotonic()

        def track_written():
            nonlocal longest, size, since
            now, current = time.monotonic(), size_of(path)
            if current != size:
                size, since = current, now
            elif 44 < size < final and not os.path.exists(os.path.join(folder, "Track02.wav")):
                longest = max(longest, now - since)
            return size == final

        wait_until(track_written, process)
    finally:
        stdout, stderr = process.communicate(timeout=TIMEOUT)
    expect(process.returncode == 0, f"recsim failed: {stderr}")
    print(f"Track01.wav stood still, part-written, for {longest:.2f} s")
    expect(longest >= 1.6, f"Track01.wav stood still for {longest:.2f} s only; the pause is 2 s")
    check(folder, "--expect", os.path.join(DATA, "sample_disc.json"))


GOOD_FILE = 'FILE "good.wav" WAVE\n'
BAD_CUE_SHEETS = [
    ("missing WAV", 'FILE "absent.wav" WAVE\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n', "absent.wav"),
    ("unsupported command", GOOD_FILE + "TRACK 01 AUDIO\nINDEX 01 00:00:00\nPOSTGAP 00:02:00\n", "line 4"),
    ("third index", GOOD_FILE + "TRACK 01 AUDIO\nINDEX 01 00:00:00\nINDEX 02 00:00:30\n", "INDEX 02"),
    ("track before file", "TRACK 01 AUDIO\nINDEX 01 00:00:00\n", "before any FILE"),
    ("bad time", GOOD_FILE + "TRACK 01 AUDIO\nINDEX 01 00:61:00\n", "mm:ss:ff"),
    ("index beyond the file", GOOD_FILE + "TRACK 01 AUDIO\nINDEX 01 00:09:00\n", "beyond the end"),
    ("tracks out of order", GOOD_FILE + "TRACK 02 AUDIO\nINDEX 01 00:00:00\n", "in order"),
    ("no index 1", GOOD_FILE + "TRACK 01 AUDIO\n", "no INDEX 01"),
    ("no tracks", GOOD_FILE, "no TRACK"),
    ("unclosed quote", 'FILE "good.wav WAVE\n', "closing quote"),
    ("wrong sample format", 'FILE "mono8.wav" WAVE\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n', "16-bit stereo 44.1 kHz"),
]


def expect_refusal(result, code, words, capture):
    lines = result.stderr.splitlines()
    expect(result.returncode == code, f"exit code {result.returncode}, expected {code}; stderr {lines}")
    expect(len(lines) == 1 and lines[0].startswith("recsim: ") and words in lines[0],
           f"expected one line with {words!r} on stderr, got {lines}")
    expect(capture is None or not os.listdir(capture), f"a refused burn left {os.listdir(capture or '.')}")
    print(f"refused ({code}): {lines[0]}")


def case_errors(recsim, output):
    disc = fresh(os.path.join(output, "disc"))
    capture = fresh(os.path.join(output, "capture"))
    write_source(os.path.join(disc, "good.wav"), 300, 0, 1)
    with wave.open(os.path.join(disc, "mono8.wav"), "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(1)
        out.setframerate(22050)
        out.writeframes(bytes(range(256)) * 100)
    for number, (name, text, words) in enumerate(BAD_CUE_SHEETS):
        cue = os.path.join(disc, f"bad{number}.cue")
        open(cue, "w").write(text)
        print(f"{name}: ", end="")
        expect_refusal(recsim.run("--cue", windows(cue), "--capture", windows(capture)), 1, words, capture)

    print("missing cue sheet: ", end="")
    expect_refusal(recsim.run("--cue", windows(os.path.join(disc, "none.cue")), "--capture", windows(capture)),
                   1, "none.cue", capture)
    sample = ["--speed", "max", "--sample-seconds", "0.5"]
    print("capture folder is a file: ", end="")
    expect_refusal(recsim.run("--capture", windows(os.path.join(disc, "good.wav")), *sample), 1, "not a folder",
                   None)
    print("capture folder cannot take folders: ", end="")
    expect_refusal(recsim.run("--capture", "Z:\\proc\\sys\\kernel\\random", *sample), 1,
                   "cannot create the burn folder", None)
    print("a folder that sorts after any number: ", end="")
    os.makedirs(os.path.join(capture, "zzz"))
    expect_refusal(recsim.run("--capture", windows(capture), *sample), 1, "sorts after", None)
    expect(os.listdir(capture) == ["zzz"], f"a refused burn left {os.listdir(capture)}")
    os.rmdir(os.path.join(capture, "zzz"))

    usage = [
        (["--frobnicate"], "unknown option"),
        (["--speed", "0"], "--speed"),
        (["--speed"], "needs a value"),
        (["--sample-seconds", "abc"], "--sample-seconds"),
        (["--pause-track", "2"], "go together"),
        (["--pause-track", "4", "--pause-seconds", "1"], "the disc has 3 tracks"),
        (["--cue", windows(os.path.join(disc, "bad0.cue")), "--sample-seconds", "2"], "sample disc"),
    ]
    for args, words in usage:
        print(f"{' '.join(args)}: ", end="")
        expect_refusal(recsim.run("--capture", windows(capture), *args), 2, words, capture)


def case_registry(recsim, output):
    """Without --capture the burn goes to the folder named by HKLM\\Software\\Quaverlane TempFolder."""
    capture = fresh(os.path.join(output, "capture"))
    key = "HKLM\\Software\\Quaverlane"
    reg = [recsim.command[0], "reg"]
    query = subprocess.run(reg + ["query", key, "/v", "TempFolder"], capture_output=True, text=True)
    saved = re.search(r"TempFolder\s+REG_SZ\s+(.*?)\r?$", query.stdout, re.MULTILINE)
    try:
        subprocess.run(reg + ["delete", key, "/v", "TempFolder", "/f"], capture_output=True)
        print("without the value: ", end="")
        expect_refusal(recsim.run("--speed", "max", "--sample-seconds", "0.5"), 1, "TempFolder", capture)
        subprocess.run(reg + ["add", key, "/v", "TempFolder", "/t", "REG_SZ", "/d", windows(capture), "/f"],
                       capture_output=True, check=True)
        result = recsim.run("--speed", "max", "--sample-seconds", "0.5")
        expect(result.returncode == 0, f"recsim failed with the registry value set: {result.stderr}")
        folder = printed_folder(result.stdout, capture)
        check(folder)
    finally:
        if saved:
            subprocess.run(reg + ["add", key, "/v", "TempFolder", "/t", "REG_SZ", "/d", saved.group(1).strip(), "/f"],
                           capture_output=True)
        else:
            subprocess.run(reg + ["delete", key, "/v", "TempFolder", "/f"], capture_output=True)


CASES = {"sample": case_sample, "cue": case_cue, "no_cdtext": case_no_cdtext, "pacing": case_pacing,
         "pause": case_pause, "errors": case_errors, "registry": case_registry}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("case", choices=CASES)
    parser.add_argument("--wine-run", required=True)
    parser.add_argument("--recsim", required=True)
    parser.add_argument("--output", required=True)
    args = parser.parse_args()
    try:
        CASES[args.case](Recsim(args.wine_run, args.recsim), fresh(args.output))
    except (Failure, subprocess.TimeoutExpired) as failure:
        print("FAIL:", failure)
        return 1
    print("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
