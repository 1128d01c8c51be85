#!/bin/sh
# Runs each of the three fuzzers for longer than the tests do, one after
# the other, each growing its corpus in the build folder.
# Usage: tests/fuzz/fuzz.sh [seconds per fuzzer, 600] [build folder, build-asan]
set -u
seconds=${1:-600}
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${2:-$root/build-asan}
cmake -S "$root" -B "$build" -DZENOBAR_SANITIZE=ON -DZENOBAR_FUZZ=ON >/dev/null || exit 1
cmake --build "$build" --target zenobar_fuzzers game_questions -j"$(nproc)" >/dev/null || exit 1
fuzz=$build/tests/fuzz
if [ ! -x "$fuzz/clang/fuzz_config" ]; then
    echo "no fuzzers in $fuzz: is clang with libclang-rt-14-dev installed?"
    exit 1
fi

failed=""
for reader in questions highscores config; do
    seeds=$root/tests/fuzz/corpus/$reader
    if [ "$reader" = questions ]; then
        seeds="$build/game/quest/pol $build/game/quest/eng $build/game/quest/swe $seeds"
    fi
    mkdir -p "$fuzz/work/corpus/$reader" "$fuzz/work/crashes"
    before=$(ls "$fuzz/work/crashes" | wc -l)
    echo "== fuzz_$reader, $seconds s"
    # shellcheck disable=SC2086
    "$fuzz/clang/fuzz_$reader" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$fuzz/work/crashes/$reader-" \
        "$fuzz/work/corpus/$reader" $seeds 2>&1 |
        grep -E '^(Done|stat::|==|SUMMARY|zenobar-fuzz|artifact_prefix)|INITED|ERROR'
    # The pipe's status is grep's: look for what a failure leaves.
    if [ "$(ls "$fuzz/work/crashes" | wc -l)" -ne "$before" ]; then
        failed="$failed $reader"
    fi
done
if [ -n "$failed" ]; then
    echo "inputs that failed are in $fuzz/work/crashes/ (fuzzers:$failed)"
    exit 1
fi
echo "no failures"
