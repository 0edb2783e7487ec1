#!/usr/bin/env bash
# Builds everything and runs every test under AddressSanitizer and
# UndefinedBehaviorSanitizer, runs the threads tests of the hook library under
# ThreadSanitizer, then each fuzz target for a short, bounded time over its
# seeds and the shared property-list corpus. Installs missing Debian packages
# first.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
jobs=$(nproc)
fuzz_seconds=${FUZZ_SECONDS:-20}

# One build serves both: every test runs instrumented, and the benchmarks
# are compiled (not run) so they stay buildable.
echo "== build and test under ASan+UBSan"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DVELLORIA_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$jobs"
ctest --test-dir build-asan --output-on-failure -j"$jobs"

echo "== hook library threads under ThreadSanitizer"
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELLORIA_TSAN=ON -DVELLORIA_BENCH=OFF >/dev/null
cmake --build build-tsan -j"$jobs" --target sectionpatch_threads_test VelloriaSectionPatch
ctest --test-dir build-tsan --output-on-failure -R '^sectionpatch_threads'

echo "== fuzz (${fuzz_seconds}s per target)"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELLORIA_FUZZ=ON \
  -DVELLORIA_TESTS=OFF -DVELLORIA_BENCH=OFF >/dev/null
declare -A seeds=([plist_reader_fuzzer]=fuzz/plist/seeds [text_plist_fuzzer]=fuzz/text/seeds
                  [hextoint_fuzzer]=fuzz/hexcolor/seeds)
cmake --build build-fuzz -j"$jobs" --target "${!seeds[@]}"
corpus=../shared/plist-corpus
for fuzzer in "${!seeds[@]}"; do
  binary=$(find build-fuzz/fuzz -type f -name "$fuzzer" | head -n1)
  work=$(mktemp -d)
  extra=()
  if [ "$fuzzer" != hextoint_fuzzer ] && [ -d "$corpus" ]; then
    for d in "$corpus"/*/; do extra+=("$d"); done
  fi
  echo "-- $fuzzer"
  status=0
  "$binary" -max_total_time="$fuzz_seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 \
    "$work" "${seeds[$fuzzer]}" "${extra[@]}" >"$work.log" 2>&1 || status=$?
  grep -E "^(stat::number_of_executed_units|==[0-9]+==ERROR|SUMMARY)" "$work.log" || true
  if [ "$status" -ne 0 ]; then
    tail -n 40 "$work.log" >&2
    echo "$fuzzer failed (status $status)" >&2
    exit 1
  fi
  rm -rf "$work" "$work.log"
done
echo "== all tests passed"
