#!/usr/bin/env bash
# Sets up and builds, makes a demo game folder and runs the programs in it
# as far as they are built.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
"$top/scripts/build.sh"
build=${BUILD_DIR:-$top/build}
demo=$build/demo-trle
rm -rf "$demo"
mkdir -p "$demo"
cp "$build"/release/* "$demo/"
# The game itself is not part of this system: an empty stand-in is enough
# for the steps the program takes before it launches the game.
printf 'game' > "$demo/tomb4.exe"
cp "$build/bin/McfWriter.exe" "$top/tools/mcfwriter/sample-level.txt" "$demo/"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  set -u
  source "$1/scripts/wine-env.sh"
  trap wine_stop EXIT
  wine_start
  cd "$2"
  echo "== The level configuration, written from sample-level.txt"
  wine McfWriter.exe sample-level.txt media.mcf
  echo "== Vistrelo: the display modes"
  wine Vistrelo.exe
  echo "== Ludovane /l: the media list"
  wine Ludovane.exe /l
  echo "== Ludovane /v: a start, as far as it is built"
  wine Ludovane.exe /v
' _ "$top" "$demo" 2>/dev/null
echo
echo "Media list ($demo/_temp_media_list.txt):"
cat "$demo/_temp_media_list.txt"
echo
echo "Display modes log ($demo/Log_VideoEnum.txt):"
head -20 "$demo/Log_VideoEnum.txt"
echo
echo "Demo game folder: $demo"
echo "Log of the run:   $demo/store/media_log.txt"
cat "$demo/store/media_log.txt"
