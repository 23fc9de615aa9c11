"""What the independent checks share: every expectation printed as it is checked, and one
verdict at the end that is the script's exit code."""

import sys

problems = []


def expect(what, actual, wanted):
    ok = actual == wanted
    print(f"  {'ok  ' if ok else 'FAIL'} {what}: {actual!r}" + ("" if ok else f" (wanted {wanted!r})"))
    if not ok:
        problems.append(what)


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
