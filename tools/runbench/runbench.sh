#!/bin/bash
# Runs RunBench.exe of the build under Wine, set up as the tests are (Xvfb,
# one warm wineserver). Usage: tools/runbench/runbench.sh [runs]
exec "$(dirname "$0")/../benchsupport/run-bench.sh" RunBench "$@"
