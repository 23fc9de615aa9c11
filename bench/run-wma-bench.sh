#!/usr/bin/env bash
# Encodes five minutes of captured audio to WMA at 128 kbps, [rounds] times (at least 5), two
# ways side by side in each round, in alternating order: through the program's pipeline and the
# WMA library (under Wine), and with Debian's native ffmpeg (wmav2, 128k) on the same WAV. Prints
# the medians and the ratio pipeline/ffmpeg against its target of at most 1.15. Each pipeline
# round is a process of its own after an untimed warm-up encode.
set -euo pipefail
source "$(dirname "$0")/five-minute-track.sh"
native=(ffmpeg -v error -y -i "$wav" -c:a wmav2 -b:a 128k "$work/native.wma")
pipeline() {
  "$QVL_WINE" "$bin/wma_bench.exe" "Z:$wav" "Z:$work" "$1" "Z:$warm" | tr -d "\r" | grep "^round"
}
for round in $(seq 1 "$rounds"); do
  if [ $((round % 2)) -eq 1 ]; then
    line=$(pipeline "$round")
    start=$(date +%s%N); "${native[@]}"; end=$(date +%s%N)
  else
    start=$(date +%s%N); "${native[@]}"; end=$(date +%s%N)
    line=$(pipeline "$round")
  fi
  ms=$(((end - start) / 1000000))
  printf '%s, ffmpeg %d.%03d s\n' "$line" $((ms / 1000)) $((ms % 1000))
done | tee "$work/rounds"
/usr/bin/python3 - "$work/rounds" <<'PY'
import re, statistics, sys
rows = [{k: float(v) for k, v in re.findall(r"(pipeline|ffmpeg) ([0-9.]+) s", line)} for line in open(sys.argv[1])]
med = {k: statistics.median(r[k] for r in rows) for k in ("pipeline", "ffmpeg")}
ratio = statistics.median(r["pipeline"] / r["ffmpeg"] for r in rows)
print(f"median of {len(rows)} rounds: ffmpeg {med['ffmpeg']:.3f} s, pipeline {med['pipeline']:.3f} s")
print(f"pipeline/ffmpeg: median of the rounds' ratios {ratio:.3f}, ratio of the medians "
      f"{med['pipeline'] / med['ffmpeg']:.3f} (target at most 1.15: {'met' if ratio <= 1.15 else 'MISSED'})")
PY
