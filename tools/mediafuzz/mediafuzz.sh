#!/bin/bash
# Runs MediaFuzz.exe of the build under Wine, set up as the tests are (Xvfb,
# one warm wineserver). Usage: tools/mediafuzz/mediafuzz.sh <seed> <count> [first case]
exec "$(dirname "$0")/../benchsupport/run-bench.sh" MediaFuzz "$@"
