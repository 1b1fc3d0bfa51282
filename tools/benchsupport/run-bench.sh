#!/bin/bash
# Runs <ExeName>.exe of the build under Wine on a 1024x768 virtual display,
# set up as the tests are (Xvfb, one warm wineserver), so that every bench
# times the same display. BUILD_DIR picks another build than build/.
# Usage: tools/benchsupport/run-bench.sh <ExeName> [args]
set -e
if [ $# -lt 1 ]; then
  echo "usage: $0 <ExeName> [args]" >&2
  exit 2
fi
exe=$1
shift
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${BUILD_DIR:-$top/build}
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  source "$0/scripts/wine-env.sh"; trap wine_stop EXIT; wine_start
  wine "$1/bin/$2.exe" "${@:3}"' "$top" "$build" "$exe" "$@"
