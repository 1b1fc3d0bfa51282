#!/bin/bash
# Runs EquipBench.exe of the build under Wine, set up as the tests are (Xvfb,
# one warm wineserver). Usage: tools/equipbench/equipbench.sh [runs]
exec "$(dirname "$0")/../benchsupport/run-bench.sh" EquipBench "$@"
