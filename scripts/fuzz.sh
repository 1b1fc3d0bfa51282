#!/usr/bin/env bash
# Fuzzes every target for the given seconds (default 600), two at a time,
# and merges what the runs found into the committed corpus.
set -euo pipefail
source "$(dirname "$0")/fuzz-targets.sh"
lavoro=$native/long
esito=0
fuzz_all "$lavoro" "${1:-600}" 2 || esito=1
for b in "${bersagli[@]}"; do
  "$native/$b" -merge=1 "$corpora/$b" "$lavoro/$b" >"$native/$b.merge.log" 2>&1
  echo "== $b: $(find "$corpora/$b" -type f | wc -l) inputs in the corpus"
done
exit $esito
