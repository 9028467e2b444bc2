#!/usr/bin/env bash
# Builds the stream-loader fuzz target with clang's libFuzzer (ASan + UBSan)
# and runs it for a while over the seed corpus in fuzz/corpus (copied, so
# the repository's seeds stay as they are). Prints the number of executions.
#   fuzz.sh [seconds]   (default 60)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds=${1:-60}
out=$root/build/fuzz
mkdir -p "$out/corpus"
cp -n "$root"/fuzz/corpus/* "$out/corpus/" 2>/dev/null || true
clang++ -std=c++17 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
  -I "$root" "$root/fuzz/StreamLoaderFuzz.cpp" "$root/automation/ComponentStream.cpp" \
  "$root/win/FontState.cpp" \
  -o "$out/stream_loader_fuzz"
"$out/stream_loader_fuzz" -max_total_time="$seconds" -print_final_stats=1 \
  -artifact_prefix="$out/" "$out/corpus" > "$out/fuzz.log" 2>&1 || {
  tail -n 40 "$out/fuzz.log" >&2
  echo "fuzz: the stream loader failed (log: build/fuzz/fuzz.log)" >&2
  exit 1
}
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$out/fuzz.log")
echo "fuzz: stream loader ran ${runs:-?} inputs clean in ${seconds} s"
