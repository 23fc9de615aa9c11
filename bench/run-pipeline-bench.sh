#!/usr/bin/env bash
# Encodes five minutes of captured audio to MP3 at CBR 160 three ways, alternating, [rounds]
# times (at least 5): through the program's pipeline and directly through lame_enc.dll (both under
# Wine), and with Debian's native lame with the same settings. Prints the medians and the ratios
# against their targets: pipeline/direct at most 1.05 (what the feeder and the pipe cost) and
# pipeline/native at most 1.15 (whether lame_enc.dll is built as fast as it can be). Each round
# is a process of its own after an untimed warm-up encode, as the native encoder is.
set -euo pipefail
source "$(dirname "$0")/five-minute-track.sh"
# lame_enc.dll's configuration: CBR 160, CRC on, bit reservoir off, no tags.
native=(lame --quiet --preset cbr 160 -p --nores "$wav" "$work/native.mp3")
for round in $(seq 1 "$rounds"); do
  start=$(date +%s%N)
  "${native[@]}"
  end=$(date +%s%N)
  line=$("$QVL_WINE" "$bin/pipeline_bench.exe" "Z:$wav" "Z:$work" 1 "$round" "Z:$warm" | tr -d "\r" | grep "^round")
  ms=$(((end - start) / 1000000))
  printf '%s, native %d.%03d s\n' "$line" $((ms / 1000)) $((ms % 1000))
done | tee "$work/rounds"
# The machine's speed drifts from minute to minute (shared processors): each round's three figures
# were taken side by side, so the ratios are judged round by round, by their median.
/usr/bin/python3 - "$work/rounds" <<'PY'
import re, statistics, sys
rows = [{k: float(v) for k, v in re.findall(r"(direct|pipeline|native) ([0-9.]+) s", line)} for line in open(sys.argv[1])]
med = {k: statistics.median(r[k] for r in rows) for k in ("direct", "pipeline", "native")}
print(f"median of {len(rows)} rounds: native lame {med['native']:.3f} s, lame_enc.dll direct "
      f"{med['direct']:.3f} s, pipeline {med['pipeline']:.3f} s")
for a, b, target in (("pipeline", "direct", 1.05), ("pipeline", "native", 1.15), ("direct", "native", None)):
    ratio = statistics.median(r[a] / r[b] for r in rows)
    verdict = "" if target is None else f" (target at most {target:.2f}: {'met' if ratio <= target else 'MISSED'})"
    print(f"{a}/{b}: median of the rounds' ratios {ratio:.3f}, ratio of the medians {med[a] / med[b]:.3f}{verdict}")
PY
