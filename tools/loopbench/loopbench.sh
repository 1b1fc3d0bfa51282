#!/bin/bash
# Runs LoopBench.exe of the build under Wine, set up as the tests are (Xvfb,
# one warm wineserver). Usage: tools/loopbench/loopbench.sh [--dry] [events]
exec "$(dirname "$0")/../benchsupport/run-bench.sh" LoopBench "$@"
