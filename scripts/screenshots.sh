#!/bin/bash
# Starts the framework's dialogs under Wine on a virtual display and saves their pictures:
# docs/screenshots/language-dialog-en.png, language-dialog-ja.png, about-en.png, about-ja.png,
# the editor's step-dialog-*, tone-dialog-*, export-dialog-*, tone-string-dialog-*,
# tone-library-*, digits-dialog-* and check-recording-pass-* / check-recording-fail-* (-en,
# -ja), and the main window with a tone drawn, main-window-en.png and main-window-ja.png, and
# once more at 144 DPI, main-window-144dpi-en.png and main-window-144dpi-ja.png.
# The language dialog is the one of the first start, on an English and on a Japanese system.
# Not part of the test command.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

# ImageMagick takes the pictures, xdotool finds the main window.
missing=()
dpkg -s imagemagick >/dev/null 2>&1 || missing+=(imagemagick)
dpkg -s xdotool >/dev/null 2>&1 || missing+=(xdotool)
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi

build_dir="${SONARIL_WINDOWS_BUILD_DIR:-$PWD/build/windows}"
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DSONARIL_BENCH=OFF >/dev/null
cmake --build "$build_dir" --target show_dialog
tool="$build_dir/tests/app/show_dialog.exe"

# A Wine session of its own, so that the test prefix is left alone.
export WINE_SESSION_ROOT="$PWD/build/screenshots"
# Room for the main window at 144 DPI.
export WINE_SESSION_SCREEN=1920x1440x24
source scripts/wine-session.sh
# Without a window manager Wine draws the dialogs' frames and captions itself only for
# windows it keeps from the window manager.
wine reg add 'HKCU\Software\Wine\AppDefaults\show_dialog.exe\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
source scripts/japanese-fonts.sh

output_dir="$PWD/docs/screenshots"
mkdir -p "$output_dir"
work_dir="$(mktemp -d)"
trap 'rm -rf "$work_dir"; stop_wine_session' EXIT

# shoot <picture name> <dialog> <locale> [arguments]: shows the dialog, waits for its
# "ready" line with the dialog's screen rectangle, and saves that part of the display.
shoot() {
  local name=$1 dialog=$2 locale=$3 log="$work_dir/$1.log"
  shift 3
  LC_ALL="$locale" wine "$tool" "$dialog" 60 "$@" >"$log" 2>/dev/null &
  local pid=$!
  local waited=0
  until grep -q '^ready' "$log"; do
    sleep 0.2
    waited=$((waited + 1))
    if [ $waited -gt 300 ] || ! kill -0 "$pid" 2>/dev/null; then
      echo "$dialog did not come up" >&2
      kill "$pid" 2>/dev/null || true
      return 1
    fi
  done
  # Let the dialog finish painting.
  sleep 1
  read -r _ x y width height < <(grep '^ready' "$log" | tr -d '\r')
  import -window root -crop "${width}x${height}+${x}+${y}" +repage "$output_dir/$name.png"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  echo "Wrote docs/screenshots/$name.png"
}

shoot language-dialog-en language-first-start en_US.UTF-8
shoot language-dialog-ja language-first-start ja_JP.UTF-8
shoot about-en about-en en_US.UTF-8
shoot about-ja about-ja ja_JP.UTF-8

# The editor's dialogs: the step and tone dialogs with the values of Add, and the export
# dialog as every opening shows it.
cmake --build "$build_dir" --target show_editor_dialog
tool="$build_dir/tests/editor/show_editor_dialog.exe"
wine reg add 'HKCU\Software\Wine\AppDefaults\show_editor_dialog.exe\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
shoot step-dialog-en step-en en_US.UTF-8
shoot step-dialog-ja step-ja ja_JP.UTF-8
shoot tone-dialog-en tone-en en_US.UTF-8
shoot tone-dialog-ja tone-ja ja_JP.UTF-8
shoot export-dialog-en export-en en_US.UTF-8
shoot export-dialog-ja export-ja ja_JP.UTF-8
shoot tone-string-dialog-en tonestring-en en_US.UTF-8
shoot tone-string-dialog-ja tonestring-ja ja_JP.UTF-8

# The tone library with a country typed, and the check of a recording of UK ring-back
# against its own setting (PASS) and against one with a wrong tone and pause (FAIL).
windows_path() { printf 'Z:%s' "$1" | tr '/' '\\'; }
cmake --build "$build_dir" --target sonaril-cli
wine "$build_dir/cli/sonaril-cli.exe" render "$(windows_path "$PWD/examples/ringback-uk.ton")" \
  -o "$(windows_path "$work_dir/ringback-uk.wav")" >/dev/null 2>&1
tones="$(windows_path "$PWD/tones")"
uk="$(windows_path "$PWD/examples/ringback-uk.ton")"
sed 's|<frequency>450<|<frequency>440<|; s|<time>200<|<time>300<|' examples/ringback-uk.ton >"$work_dir/uk-wrong.ton"
uk_wrong="$(windows_path "$work_dir/uk-wrong.ton")"
recording="$(windows_path "$work_dir/ringback-uk.wav")"
shoot tone-library-en library-en en_US.UTF-8 "$tones" Germany
shoot tone-library-ja library-ja ja_JP.UTF-8 "$tones" Japan
shoot check-recording-pass-en check-en en_US.UTF-8 "$uk" "$recording"
shoot check-recording-fail-ja check-ja ja_JP.UTF-8 "$uk_wrong" "$recording"
shoot digits-dialog-en digits-en en_US.UTF-8 "5551234#" dtmf
shoot digits-dialog-ja digits-ja ja_JP.UTF-8 "KP5551234ST" mf

# The main window, started as a user starts it: an example on the command line, and a
# config file in the working folder that holds the language.
cmake --build "$build_dir" --target Sonaril
program="$build_dir/editor/Sonaril.exe"
wine reg add 'HKCU\Software\Wine\AppDefaults\Sonaril.exe\X11 Driver' /v Managed /d N /f >/dev/null 2>&1

# shoot_main <picture name> <language 0/1> <example> <caption>
shoot_main() {
  local name=$1 language=$2 caption=$4 folder="$work_dir/$1"
  local example="Z:$(printf '%s' "$PWD/examples/$3" | tr '/' '\\')"
  mkdir -p "$folder"
  printf '<?xml version="1.0" ?>\r\n<config><language>%s</language>\r\n<repeat>0</repeat>\r\n</config>\r\n' "$language" \
    >"$folder/Sonaril.ini"
  (cd "$folder" && exec wine "$program" "$example" >/dev/null 2>&1) &
  local pid=$! window="" waited=0
  until window=$(xdotool search --name "^${caption}\$" 2>/dev/null | head -1) && [ -n "$window" ]; do
    sleep 0.2
    waited=$((waited + 1))
    if [ $waited -gt 300 ] || ! kill -0 "$pid" 2>/dev/null; then
      echo "the main window did not come up" >&2
      kill "$pid" 2>/dev/null || true
      return 1
    fi
  done
  # Let "Create Tone" finish and the waveform paint.
  sleep 2
  eval "$(xdotool getwindowgeometry --shell "$window")"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$output_dir/$name.png"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  echo "Wrote docs/screenshots/$name.png"
}

shoot_main main-window-en 0 ringback-uk.ton "Sonaril - Tone Generator"
shoot_main main-window-ja 1 busy-japan.ton "Sonaril - トーン生成ツール"

# The same at 144 DPI: Wine reports the prefix's LogPixels to programs started after it is set.
set_dpi() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
}
set_dpi 144
shoot_main main-window-144dpi-en 0 ringback-uk.ton "Sonaril - Tone Generator"
shoot_main main-window-144dpi-ja 1 busy-japan.ton "Sonaril - トーン生成ツール"
set_dpi 96
