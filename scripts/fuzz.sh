#!/usr/bin/env bash
# Runs every fuzzer for SECONDS seconds each (default 600), one after the other, from the corpus
# that earlier runs left in build/fuzz plus the seed folders. A crash stops the run; libFuzzer
# then names the input that caused it (crash-*, in the current folder) and prints its stack.
#   scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
[[ $seconds =~ ^[1-9][0-9]*$ ]] || { echo "usage: scripts/fuzz.sh [SECONDS]" >&2; exit 2; }
scripts/install-deps.sh build

fuzz=build/fuzz
CXX=clang++ cmake -S . -B "$fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORV_FUZZ=ON >/dev/null
cmake --build "$fuzz" -j "$(nproc)"

while IFS='|' read -r name options seeds; do
    executable=$(find "$fuzz" -type f -name "$name" -perm -u+x | head -n 1)
    corpus=$(find "$fuzz" -type d -path "*/corpus/$name" | head -n 1)
    echo "== $name: $seconds s" >&2
    log="$fuzz/$name.log"
    status=0
    # shellcheck disable=SC2086  # options and seed folders are lists
    "$executable" -max_total_time="$seconds" -print_final_stats=1 $options "$corpus" $seeds >"$log" 2>&1 ||
        status=$?
    grep -E '^(Done|stat::number_of_executed_units)|ERROR|SUMMARY|crash-|Test unit written' "$log" || true
    ((status == 0)) || { echo "$name failed (exit $status); see $log" >&2; exit 1; }
done <"$fuzz/fuzzers.txt"
