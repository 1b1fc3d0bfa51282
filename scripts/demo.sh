#!/usr/bin/env bash
# Sets up and builds, makes a demo game folder with the game stand-in as
# tomb4.exe and plays a whole run in it.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
"$top/scripts/build.sh"
build=${BUILD_DIR:-$top/build}
source "$top/scripts/wine-flavor.sh"
if [ "$wine_bits" = 64 ]; then
  echo "This machine runs no 32-bit programs, not even emulated: the demo runs a 64-bit build under 64-bit Wine."
  build=$test_build
  BUILD_DIR=$build TOOLCHAIN=mingw64 "$top/scripts/build.sh"
fi
demo=$build/demo-trle
rm -rf "$demo"
mkdir -p "$demo"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  set -eu
  source "$1/scripts/wine-env.sh"
  trap wine_stop EXIT
  wine_start
  echo "== The game folder: the programs, the game stand-in as tomb4.exe, script.dat, media.mcf"
  wine "$3/bin/DemoFolder.exe" "$(winepath -w "$2")"
  echo "== Vistrelo: the display modes (in the store folder, where the run keeps it)"
  cp "$3/release/Vistrelo.exe" "$2/store/"
  (cd "$2/store" && wine Vistrelo.exe)
  cd "$2"
  echo "== Ludovane /l: the media list"
  wine Ludovane.exe /l
  echo "== Ludovane /v: a whole run with the game stand-in and the logger"
  wine Ludovane.exe /v
' _ "$top" "$demo" "$build" 2>/dev/null
echo
echo "Media list ($demo/_temp_media_list.txt):"
cat "$demo/_temp_media_list.txt"
echo
echo "Display modes log ($demo/store/Log_VideoEnum.txt):"
head -20 "$demo/store/Log_VideoEnum.txt"
echo
echo "What the game stand-in did ($demo/gamesim_log.txt):"
grep -v '^env ' "$demo/gamesim_log.txt"
echo
echo "Demo game folder: $demo"
echo "Log of the run:   $demo/store/media_log.txt"
cat "$demo/store/media_log.txt"
