# Sourced by native.sh and fuzz.sh: builds the host side of the byte and
# text modules and names the fuzz targets (every tests/native/fuzz/Fuzz*.cpp)
# with their committed corpus folders tests/native/fuzz/corpus/<target>.
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
native=${NATIVE_BUILD_DIR:-$top/build-native}
corpora=$top/tests/native/fuzz/corpus
"$top/scripts/setup.sh"
CC=clang CXX=clang++ cmake -S "$top/tests/native" -B "$native" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$native" -j "$(nproc)"
bersagli=()
for sorgente in "$top"/tests/native/fuzz/Fuzz*.cpp; do
  b=$(basename "$sorgente" .cpp)
  mkdir -p "$corpora/$b"
  bersagli+=("$b")
done

# Runs one libFuzzer target with the given options on a work copy of its
# corpus, quietly unless it fails.
fuzz_run() {
  local b=$1; shift
  local registro=$native/$b.log
  if ! "$native/$b" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
       -artifact_prefix="$native/$b-" "$@" >"$registro" 2>&1; then
    echo "== $b FAILED; the last lines of its log ($registro):"
    tail -n 60 "$registro"
    return 1
  fi
  echo "== $b: $(grep -E '^stat::number_of_executed_units' "$registro" | awk '{print $2}') runs"
}

# Fuzzes every target for $2 seconds, at most $3 at a time, each on a work
# copy of its corpus under $1; non-zero when any target failed.
fuzz_all() {
  local lavoro=$1 secondi=$2 insieme=$3 esito=0 b
  local attivi=()
  rm -rf "$lavoro"
  for b in "${bersagli[@]}"; do
    mkdir -p "$lavoro/$b"
    cp -r "$corpora/$b/." "$lavoro/$b/"
    (fuzz_run "$b" -max_total_time="$secondi" "$lavoro/$b") &
    attivi+=($!)
    if [ ${#attivi[@]} -ge "$insieme" ]; then
      wait "${attivi[0]}" || esito=1
      attivi=("${attivi[@]:1}")
    fi
  done
  for b in "${attivi[@]}"; do wait "$b" || esito=1; done
  return $esito
}
