#!/bin/bash
# Runs GraphMenuBench.exe of the build under Wine on a 1024x768 virtual display.
# Usage: tools/graphmenubench/graphmenubench.sh [presses]
exec "$(dirname "$0")/../benchsupport/run-bench.sh" GraphMenuBench "$@"
