#!/usr/bin/env bash
# Burns a disc of [tracks] tracks of [seconds] each at [speed] (ten of 30 s at maximum speed
# unless given) into the capture folder of a running, hidden Quaverlane and times the program from the start of
# the burn to its last finished file, against encoding the same tracks through lame_enc.dll
# directly, one after the other; and how long after the last byte the last file was done, against
# the last track's own encode (a short burn, "3 10 52", shows that best). The
# program's capture folder, output folder and project file are temporary for the run; the
# registry value and the project file it replaces are put back afterwards.
set -euo pipefail
source "$(dirname "$0")/../tools/env.sh"
qvl_ready_to_run

tracks=${1:-10}
seconds=${2:-30}
speed=${3:-max}
bin="$QVL_ROOT/build/x86_64/bin"
key='HKLM\Software\Quaverlane'
data="$WINEPREFIX/drive_c/users/$(id -un)/Documents/My Music/Quaverlane"
work=$(mktemp -d)
mkdir "$work/disc" "$work/capture" "$work/output" "$work/direct"

windows_path() {
  printf 'Z:%s' "${1//\//\\}"
}

previous_capture=$("$QVL_WINE" reg query "$key" /v TempFolder 2>/dev/null </dev/null |
  tr -d '\r' | sed -n 's/^ *TempFolder *REG_SZ *//p') || true
mkdir -p "$data"
[ ! -f "$data/disc.xml" ] || cp -p "$data/disc.xml" "$work/disc.xml.kept"

app=
put_back() {
  if [ -n "$app" ] && kill -0 "$app" 2>/dev/null; then
    "$QVL_WINE" "$bin/qvlctl.exe" exit 30000 >/dev/null 2>&1 </dev/null || true
    wait "$app" || true
  fi
  if [ -f "$work/disc.xml.kept" ]; then
    cp -p "$work/disc.xml.kept" "$data/disc.xml"
  else
    rm -f "$data/disc.xml"
  fi
  if [ -n "$previous_capture" ]; then
    "$QVL_WINE" reg add "$key" /v TempFolder /t REG_SZ /d "$previous_capture" /f >/dev/null 2>&1 </dev/null
  else
    "$QVL_WINE" reg delete "$key" /v TempFolder /f >/dev/null 2>&1 </dev/null || true
  fi
  rm -rf "$work"
  qvl_stop_session
}
trap put_back EXIT

# Music rather than test tones, so that the encoder has real work: a plucked two-voice figure of
# three seconds over a triangle pad and pulsing noise, each track in another key.
make_track() {
  local out=$1 root=$2 step voices=()
  for step in 0 7 12 16 19 16 12 7; do
    voices+=(synth 0.375 pluck "%$((root + step - 12))" pluck "%$((root + step))" :)
  done
  sox -n -r 44100 -b 16 -c 2 "$work/phrase.wav" "${voices[@]:0:${#voices[@]}-1}"
  sox "$work/phrase.wav" "$work/melody.wav" repeat $((seconds / 3))
  sox -m -v 0.8 "$work/melody.wav" \
    -v 0.3 "|sox -n -r 44100 -c 2 -p synth $seconds triangle %$((root - 24)) triangle %$((root - 17)) tremolo 0.5 60" \
    -v 0.1 "|sox -n -r 44100 -c 2 -p synth $seconds pinknoise pinknoise tremolo 4 90" \
    -b 16 "$out" trim 0 "$seconds" gain -n -1
  rm "$work/phrase.wav" "$work/melody.wav"
}

sources=()
{
  echo 'PERFORMER "Quaverlane Bench"'
  echo 'TITLE "Burn Bench"'
  for n in $(seq -f %02g 1 "$tracks"); do
    make_track "$work/disc/track$n.wav" $((10#$n * 5 % 12 - 12))
    sources+=("$(windows_path "$work/disc/track$n.wav")")
    printf 'FILE "track%s.wav" WAVE\n  TRACK %s AUDIO\n    TITLE "Piece %s"\n' "$n" "$n" "$n"
    printf '    PERFORMER "Quaverlane Bench"\n    INDEX 01 00:00:00\n'
  done
} >"$work/disc/disc.cue"

# Only the output folder is given; the program fills in the defaults of every other option.
cat >"$data/disc.xml" <<EOF
<?xml version="1.0" encoding="UTF-8" ?>
<quaverlane_project disc_count="0" first_run="0">
    <options>
        <output_folder path="$(windows_path "$work/output")"/>
    </options>
</quaverlane_project>
EOF
"$QVL_WINE" reg add "$key" /v TempFolder /t REG_SZ /d "$(windows_path "$work/capture")" /f >/dev/null 2>&1 </dev/null

"$QVL_WINE" "$bin/Quaverlane.exe" /silence >/dev/null 2>&1 </dev/null &
app=$!
"$QVL_WINE" "$bin/qvlctl.exe" wait 30000 >/dev/null </dev/null
"$QVL_WINE" "$bin/burn_bench.exe" "$(windows_path "$bin/recsim.exe")" "$(windows_path "$work/disc/disc.cue")" "$speed" \
  "$(windows_path "$work/output")" "$(windows_path "$work/direct")" "${sources[@]}" </dev/null
"$QVL_WINE" "$bin/qvlctl.exe" exit 30000 >/dev/null </dev/null
wait "$app" || true
app=
