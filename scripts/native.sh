#!/usr/bin/env bash
# Builds the modules that include no Windows header with the host's clang,
# runs their unit tests under AddressSanitizer and UndefinedBehaviorSanitizer,
# then each fuzz target for FUZZ_SECONDS (default 60) under AddressSanitizer.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
native=${NATIVE_BUILD_DIR:-$top/build-native}
secondi=${FUZZ_SECONDS:-60}
"$top/scripts/setup.sh"
CC=clang CXX=clang++ cmake -S "$top/tests/native" -B "$native" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$native" -j "$(nproc)"
"$native/test_native" --gtest_brief=1

semi=$native/seeds
rm -rf "$semi"
mkdir -p "$semi/FuzzMediaConfig" "$semi/FuzzMediaSyntax" "$semi/FuzzMediaPacketHeader"
(cd "$semi/FuzzMediaConfig" && "$native/mcfwriter" "$top/tests/native/fuzz/seeds/media.txt" media.mcf)
cp "$top/tests/native/fuzz/seeds/syntax.txt" "$semi/FuzzMediaSyntax/"
mkdir -p "$semi/FuzzPacketEntries" "$semi/FuzzFormula"
cp "$top"/tests/native/fuzz/seeds/*.mpf "$semi/FuzzPacketEntries/"
cp "$top"/tests/native/fuzz/seeds/formula*.txt "$semi/FuzzFormula/"
mkdir -p "$semi/FuzzWavFile" "$semi/FuzzGameMessage" "$semi/FuzzLoggerBin"
cp "$top"/tests/native/fuzz/seeds/*.wav "$semi/FuzzWavFile/"
cp "$top"/tests/native/fuzz/seeds/gamemessages*.bin "$semi/FuzzGameMessage/"
cp "$top"/tests/native/fuzz/seeds/Logger*.bin "$semi/FuzzLoggerBin/"
for bersaglio in FuzzMediaConfig FuzzMediaSyntax FuzzMediaPacketHeader FuzzPacketEntries FuzzFormula \
                 FuzzWavFile FuzzGameMessage FuzzLoggerBin; do
  corpus=$native/corpus/$bersaglio
  mkdir -p "$corpus"
  echo "== $bersaglio for ${secondi}s"
  registro=$native/$bersaglio.log
  if ! "$native/$bersaglio" -max_total_time="$secondi" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
       -artifact_prefix="$native/$bersaglio-" "$corpus" "$semi/$bersaglio" >"$registro" 2>&1; then
    tail -n 80 "$registro"
    exit 1
  fi
  grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)' "$registro"
done
