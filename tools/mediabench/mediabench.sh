#!/bin/bash
# Runs MediaBench.exe of the build under Wine on a 1024x768 virtual display.
# Usage: tools/mediabench/mediabench.sh [runs]
exec "$(dirname "$0")/../benchsupport/run-bench.sh" MediaBench "$@"
