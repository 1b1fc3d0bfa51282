#!/usr/bin/env bash
# One ctest entry of a slow test program, run alone: in a Wine prefix of its
# own (a copy of the build's booted one) on a virtual display of its own, so
# that entries sharing the desktop, the game's registry key or a folder run
# side by side.
#   test-alone.sh BUILD NAME PROGRAM [ARGUMENTS...]
set -u
build=$1 nome=$2 programma=$3
shift 3
export BUILD_DIR=$build TEST_BUILD_DIR=$build
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh" || { echo "The Wine prefix could not be made." >&2; exit 1; }

lavoro=$build/alone/$nome
xvfb=""
rm -rf "$lavoro"
mkdir -p "$lavoro"
fine() {
  wine_stop
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
  rm -rf "$lavoro"
}
trap 'fine; exit 1' TERM INT HUP
trap fine EXIT

# Xvfb picks a free display itself and writes its number once it takes clients.
# What it says stays for the line that tells why it did not start.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$lavoro/display" </dev/null >/dev/null 2>"$lavoro/xvfb.err" &
xvfb=$!
for _ in $(seq 600); do
  [ -s "$lavoro/display" ] && break
  kill -0 "$xvfb" 2>/dev/null || break
  sleep 0.1
done
schermo=$(head -1 "$lavoro/display" 2>/dev/null)
[ -n "$schermo" ] || { echo "Xvfb did not start:" >&2; tail -5 "$lavoro/xvfb.err" >&2; exit 1; }
export DISPLAY=:$schermo
unset XAUTHORITY

export WINEPREFIX=$lavoro/prefix
wine_copy "$wine_base" "$WINEPREFIX" || { echo "The Wine prefix could not be copied." >&2; exit 1; }
wine_start
wine "$programma" "$@" </dev/null
