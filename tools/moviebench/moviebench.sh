#!/bin/bash
# Runs MovieBench.exe of the build under Wine on a 1024x768 virtual display,
# set up as the tests are (Xvfb, one warm wineserver).
# Usage: tools/moviebench/moviebench.sh [runs]
set -e
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${BUILD_DIR:-$top/build}
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  source "$0/scripts/wine-env.sh"; trap wine_stop EXIT; wine_start
  wine "$1/bin/MovieBench.exe" "${@:2}"' "$top" "$build" "$@"
