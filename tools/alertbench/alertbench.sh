#!/bin/bash
# Runs AlertBench.exe of the build under Wine, set up as the tests are (Xvfb,
# one warm wineserver). Usage: tools/alertbench/alertbench.sh [seconds]
exec "$(dirname "$0")/../benchsupport/run-bench.sh" AlertBench "$@"
