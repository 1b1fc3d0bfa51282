#!/bin/bash
# Runs MenuBench.exe of the build under Wine on a 1024x768 virtual display.
# Usage: tools/menubench/menubench.sh [keys]
exec "$(dirname "$0")/../benchsupport/run-bench.sh" MenuBench "$@"
