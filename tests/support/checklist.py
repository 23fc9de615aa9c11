"""What the independent checks share: every expectation printed as it is checked, and one
verdict at the end that is the script's exit code."""

problems = []


def expect(what, actual, wanted):
    ok = actual == wanted
    print(f"  {'ok  ' if ok else 'FAIL'} {what}: {actual!r}" + ("" if ok else f" (wanted {wanted!r})"))
    if not ok:
        problems.append(what)


def verdict():
    print("all checks passed" if not problems else f"{len(problems)} check(s) failed: {', '.join(problems)}")
    return 1 if problems else 0
