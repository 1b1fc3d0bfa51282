#!/usr/bin/env bash
# Configures and builds the programs, the tests and the release folder
# (32-bit; TOOLCHAIN=mingw64 builds the 64-bit test build).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
cmake -S "$top" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-${TOOLCHAIN:-mingw32}.cmake" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$(nproc)"
