#!/usr/bin/env bash
# Sets up and builds, checks the byte and text modules natively (sanitizers
# and fuzzing), the programs' imports against Windows XP and that every
# folder includes and links only the layers below it (after that check has
# shown on planted faults that it catches them), then runs every test under
# Wine on a virtual display.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
"$top/scripts/native.sh"
"$top/scripts/build.sh"
"$top/scripts/check-imports.sh"
"$top/scripts/check-layers-selftest.sh"
"$top/scripts/check-layers.sh"
source "$top/scripts/wine-flavor.sh"
if [ "$wine_bits" = 64 ]; then
  echo "This machine runs no 32-bit programs, not even emulated: the tests run a 64-bit build under 64-bit Wine."
  BUILD_DIR=$test_build TOOLCHAIN=mingw64 "$top/scripts/build.sh"
fi
exec xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  set -u
  source "$1/scripts/wine-env.sh"
  trap wine_stop EXIT
  wine_start
  ctest --test-dir "$build" --output-on-failure -j "${CTEST_JOBS:-$(nproc)}"
' _ "$top"
