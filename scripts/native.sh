#!/usr/bin/env bash
# Builds the modules that include no Windows header with the host's clang,
# runs their unit tests under AddressSanitizer and UndefinedBehaviorSanitizer,
# replays every fuzz target's committed corpus and fuzzes each briefly
# (FUZZ_SECONDS, default 10), all targets at once. Longer runs: fuzz.sh.
set -euo pipefail
source "$(dirname "$0")/fuzz-targets.sh"
secondi=${FUZZ_SECONDS:-10}
"$native/test_native" --gtest_brief=1

lavoro=$native/work
rm -rf "$lavoro"
pids=()
for b in "${bersagli[@]}"; do
  mkdir -p "$lavoro/$b"
  cp -r "$corpora/$b/." "$lavoro/$b/"
  (fuzz_run "$b" -max_total_time="$secondi" "$lavoro/$b") &
  pids+=($!)
done
esito=0
for p in "${pids[@]}"; do wait "$p" || esito=1; done
exit $esito
