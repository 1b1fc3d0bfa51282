#!/usr/bin/env bash
# Fuzzes every target for the given seconds (default 600), two at a time,
# and merges what the runs found into the committed corpus.
set -euo pipefail
source "$(dirname "$0")/fuzz-targets.sh"
secondi=${1:-600}
lavoro=$native/long
rm -rf "$lavoro"
esito=0
attivi=()
for b in "${bersagli[@]}"; do
  mkdir -p "$lavoro/$b"
  cp -r "$corpora/$b/." "$lavoro/$b/"
  (fuzz_run "$b" -max_total_time="$secondi" "$lavoro/$b") &
  attivi+=($!)
  if [ ${#attivi[@]} -ge 2 ]; then
    wait "${attivi[0]}" || esito=1
    attivi=("${attivi[@]:1}")
  fi
done
for p in "${attivi[@]}"; do wait "$p" || esito=1; done
for b in "${bersagli[@]}"; do
  "$native/$b" -merge=1 "$corpora/$b" "$lavoro/$b" >"$native/$b.merge.log" 2>&1
  echo "== $b: $(find "$corpora/$b" -type f | wc -l) inputs in the corpus"
done
exit $esito
