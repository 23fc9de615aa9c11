#!/usr/bin/env bash
# Pictures of the program's windows, to look at them: every dialog template with the texts of
# each shipped language file (the Japanese one under a Japanese locale, code page 932, as an ANSI
# program on a Japanese Windows shows it), the manager's windows that their code draws and the
# tray menu, in each language, and every control of the toolkit in its states. Saved as PNG below
# the folder given, or below build/x86_64/screenshots. (The main job keeps pictures of the status
# window while it encodes and of the manager window after the burn: tools/run-main.sh.)
#
# With --user-guide first, it also runs the main job in a Wine prefix of its own (so that the
# manager window lists that one burn) and puts the README's pictures into docs/images: the
# manager window, the status window and the options dialog.
set -euo pipefail
source "$(dirname "$0")/env.sh"
user_guide=0
if [ "${1:-}" = --user-guide ]; then
  user_guide=1
  shift
fi
shots=${1:-$QVL_ROOT/build/x86_64/screenshots}
out="$shots/templates"
qvl_ready_to_run
mkdir -p "$out" "$shots/controls" "$shots/tray"
bin="$QVL_ROOT/build/x86_64/bin"

# A Japanese locale for the Japanese pictures, generated once where the machine lacks it.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP.utf8$'; then
  if [ -f /etc/locale.gen ] && [ "$(id -u)" -eq 0 ]; then
    sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >>/etc/locale.gen
    locale-gen >/dev/null
  fi
fi

# shoot <picture without extension> <what, for the failure message> <viewer.exe> <its arguments...>:
# the viewer saves a bitmap at the path given as its last argument, which becomes a PNG.
shoot() {
  local picture=$1 what=$2 viewer=$3
  shift 3
  if "${locale_env[@]}" "$QVL_WINE" "$bin/$viewer" "$@" "$("$QVL_WINE" winepath -w "$picture.bmp" 2>/dev/null)" \
    >/dev/null 2>&1 </dev/null; then
    /usr/bin/convert "$picture.bmp" "$picture.png" && rm -f "$picture.bmp"
  else
    echo "screenshots: $what could not be shown in $language" >&2
  fi
}

# The templates as the dialog manager builds them; the manager's windows whose look their code
# makes (pictures, colours, texts placed in pixels): the player bar playing a file, the about box,
# the quick guide, the start guide, the options dialog with the lists its code fills, the track
# panel with and without artwork and the file information dialog on each of its pages; and the
# tray menu.
mkdir -p "$shots/windows"
# The track information windows show music files as other programs write them, made by the track
# information tests' own script.
samples="$shots/trackinfo-samples"
sh "$QVL_ROOT/tests/ui/trackinfo/make_sources.sh" "$samples"
sample() { "$QVL_WINE" winepath -w "$samples/$1" 2>/dev/null; }
templates=$(grep -h '^#define IDD_' "$QVL_ROOT"/res/ids/*.h | awk '{print $3}' | sort -n -u)
for language in eng deu jpn; do
  lang_file=$("$QVL_WINE" winepath -w "$bin/Lang/lang_$language.ini" 2>/dev/null)
  locale_env=()
  [ "$language" = jpn ] && locale_env=(env LC_ALL=ja_JP.UTF-8)
  for id in $templates; do
    shoot "$out/$language-$id" "template $id" dialogview.exe "$id" "$lang_file"
  done
  for window in player about quickguide startguide options; do
    shoot "$shots/windows/$language-$window" "window $window" windowview.exe "$window" "lang_$language.ini"
  done
  for window in trackpanel fileinfo fileinfo-id3v1 fileinfo-id3v2; do
    shoot "$shots/windows/$language-$window" "window $window" windowview.exe "$window" "lang_$language.ini" \
      "$(sample with_art.mp3)"
  done
  shoot "$shots/windows/$language-trackpanel-noart" "the track panel without artwork" windowview.exe trackpanel \
    "lang_$language.ini" "$(sample target.mp3)"
  shoot "$shots/windows/$language-fileinfo-wma" "window fileinfo-wma" windowview.exe fileinfo-wma \
    "lang_$language.ini" "$(sample target.wma)"
  shoot "$shots/tray/$language-menu" "the tray menu" trayview.exe "lang_$language.ini"
done
for folder in "$out" "$shots/windows" "$shots/tray"; do
  echo "screenshots: $(ls "$folder"/*.png 2>/dev/null | wc -l) pictures in $folder"
done

"$QVL_WINE" "$bin/controls_gallery.exe" "$("$QVL_WINE" winepath -w "$shots/controls" 2>/dev/null)" >/dev/null 2>&1 </dev/null ||
  echo "screenshots: the controls gallery failed" >&2
for picture in "$shots"/controls/*.bmp; do
  [ -e "$picture" ] && /usr/bin/convert "$picture" "${picture%.bmp}.png" && rm -f "$picture"
done
echo "screenshots: $(ls "$shots"/controls/*.png 2>/dev/null | wc -l) pictures in $shots/controls"

if [ "$user_guide" = 1 ]; then
  guide_prefix="$QVL_CACHE/user-guide-prefix"
  rm -rf "$guide_prefix"
  WINEPREFIX="$guide_prefix" bash "$QVL_ROOT/tools/run-main.sh" >/dev/null
  rm -rf "$guide_prefix"
  images="$QVL_ROOT/docs/images"
  mkdir -p "$images"
  cp "$QVL_ROOT/build/x86_64/screenshots/main-job/manager-window.png" "$images/manager-window.png"
  cp "$QVL_ROOT/build/x86_64/screenshots/main-job/status-window.png" "$images/status-window.png"
  cp "$shots/windows/eng-options.png" "$images/options-dialog.png"
  echo "screenshots: the user guide's pictures in $images"
fi
