#!/usr/bin/env bash
# Builds the modules that include no Windows header with the host's clang,
# runs their unit tests under AddressSanitizer and UndefinedBehaviorSanitizer,
# replays every fuzz target's committed corpus and fuzzes each briefly
# (FUZZ_SECONDS, default 10), all targets at once. Longer runs: fuzz.sh.
set -euo pipefail
source "$(dirname "$0")/fuzz-targets.sh"
"$native/test_native" --gtest_brief=1
fuzz_all "$native/work" "${FUZZ_SECONDS:-10}" "${#bersagli[@]}"
