#!/bin/bash
# Runs SplashBench.exe of the build under Wine, set up as the tests are (Xvfb,
# one warm wineserver). Usage: tools/splashbench/splashbench.sh
exec "$(dirname "$0")/../benchsupport/run-bench.sh" SplashBench "$@"
