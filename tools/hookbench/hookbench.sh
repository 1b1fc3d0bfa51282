#!/bin/bash
# Runs HookBench.exe of the build under Wine, set up as the tests are (Xvfb,
# one warm wineserver). Usage: tools/hookbench/hookbench.sh [presses]
exec "$(dirname "$0")/../benchsupport/run-bench.sh" HookBench "$@"
