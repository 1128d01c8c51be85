#!/bin/sh
# Sets up, builds the normal and the sanitizer build, and runs every test
# in both.
set -u
cd "$(dirname "$0")/.."
scripts/setup.sh build || exit 1
scripts/setup.sh build-asan -DZENOBAR_SANITIZE=ON || exit 1

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
passed=0
failed=0
for dir in build build-asan; do
    echo "== tests in $dir"
    (cd "$dir" && ctest -j"$(nproc)" --output-on-failure) | tee "$dir/ctest.log"
    status=$?
    p=$(sed -n 's/.* tests passed, \([0-9]*\) tests failed out of \([0-9]*\)/\2 \1/p' "$dir/ctest.log")
    total=${p% *}
    bad=${p#* }
    if [ -z "$p" ]; then total=0; bad=1; fi
    passed=$((passed + total - bad))
    failed=$((failed + bad))
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
