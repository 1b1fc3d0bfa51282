#!/bin/bash
# Runs WorkingBench.exe of the build under Wine, set up as the tests are
# (Xvfb, one warm wineserver). Usage: tools/workingbench/workingbench.sh
# [--dry] [--log] [presses]
exec "$(dirname "$0")/../benchsupport/run-bench.sh" WorkingBench "$@"
