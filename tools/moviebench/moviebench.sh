#!/bin/bash
# Runs MovieBench.exe of the build under Wine on a 1024x768 virtual display.
# Usage: tools/moviebench/moviebench.sh [runs]
exec "$(dirname "$0")/../benchsupport/run-bench.sh" MovieBench "$@"
