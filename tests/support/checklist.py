"""What the independent checks share: every expectation printed as it is checked, and one
verdict at the end that is the script's exit code."""

import sys

problems = []

# Encoder delay and padding make an MP3 up to two frames longer than its source.
MP3_LENGTH_TOLERANCE = 0.1


def expect(what, actual, wanted):
    ok = actual == wanted
    print(f"  {'ok  ' if ok else 'FAIL'} {what}: {actual!r}" + ("" if ok else f" (wanted {wanted!r})"))
    if not ok:
        problems.append(what)


def frame_text(tag, frame_id):
    """The texts of an ID3v2 text frame as mutagen reads them; None when the tag lacks it."""
    frame = tag.get(frame_id)
    return [str(t) for t in frame.text] if frame else None


def expect_cover_picture(tag, data, what="APIC data"):
    """The program's one picture frame: a front cover, image/jpeg, "cover picture", these bytes."""
    pictures = tag.getall("APIC")
    expect("APIC count", len(pictures), 1)
    if pictures:
        expect("APIC type (front cover)", int(pictures[0].type), 1)
        expect("APIC mime", pictures[0].mime, "image/jpeg")
        expect("APIC description", pictures[0].desc, "cover picture")
        expect(what, pictures[0].data == data, True)


def verdict():
    print("all checks passed" if not problems else f"{len(problems)} check(s) failed: {', '.join(problems)}")
    return 1 if problems else 0


def run(usage, check):
    """Calls check with the folder named on the command line and gives the script's exit code: 2
    for a wrong command line, 1 when a check failed or a file could not be read."""
    if len(sys.argv) != 2:
        print(usage, file=sys.stderr)
        return 2
    try:
        check(sys.argv[1])
    except Exception as error:  # any failure to read is a failed check, reported as such
        print(f"cannot read the files: {error!r}")
        return 1
    return verdict()
