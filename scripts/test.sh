#!/bin/sh
# Sets up, builds the normal and the sanitizer build with their tests, and
# runs the tests of each build over every SDL 1.2 runtime the machine has:
# the system's libSDL-1.2 and, where that is SDL 1.2.15 and sdl12-compat is
# installed beside it, sdl12-compat too (the same binaries, through
# LD_LIBRARY_PATH). Ends with one line, "N passed, N failed", for all runs.
# ZENOBAR_CTEST_ARGS adds options to every ctest run, e.g. "-R Settings".
set -u
cd "$(dirname "$0")/.."

started=$(date +%s)
mark=$started
timings=""
took() {
    now=$(date +%s)
    timings="$timings$1: $((now - mark)) s
"
    mark=$now
}

scripts/setup.sh test || exit 1
took "set-up"
for dir in build build-asan; do
    sanitize=OFF
    [ $dir = build-asan ] && sanitize=ON
    echo "== building $dir"
    cmake -S . -B $dir -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZENOBAR_TESTS=ON \
        -DZENOBAR_SANITIZE=$sanitize >/dev/null || exit 1
    cmake --build $dir -j2 || exit 1
    took "build of $dir"
done

# Which libSDL-1.2 the game loads: sdl12-compat (which opens SDL2 itself,
# so ldd does not show it) is known by its settings' names.
sdl=$(ldd build/game/zenobar | sed -n 's/.*libSDL-1\.2\.so\.0 => \([^ ]*\).*/\1/p')
if [ -n "$sdl" ] && grep -q SDL12COMPAT "$sdl"; then
    runtimes="system"
    system_name="sdl12-compat"
else
    runtimes="system"
    system_name="SDL 1.2.15"
    compat=/usr/lib/$(gcc -print-multiarch)/sdl12-compat
    [ -e "$compat/libSDL-1.2.so.0" ] && runtimes="system compat"
fi

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS="suppressions=$(pwd)/tests/sdl2-leaks.supp:print_suppressions=0"
passed=0
failed=0
results=""
for dir in build build-asan; do
    for runtime in $runtimes; do
        if [ $runtime = compat ]; then
            name="sdl12-compat"
            set -- env LD_LIBRARY_PATH="$compat${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
        else
            name=$system_name
            set --
        fi
        log="$dir/ctest-$runtime.log"
        echo "== tests in $dir over $name"
        # shellcheck disable=SC2086 # the extra options are meant to split
        { (cd $dir && "$@" ctest -j2 --output-on-failure ${ZENOBAR_CTEST_ARGS:-}) 2>&1
          echo $? > "$log.status"; } | tee "$log"
        status=$(cat "$log.status")
        counts=$(sed -n 's/.* tests passed, \([0-9]*\) tests failed out of \([0-9]*\)$/\2 \1/p' "$log" | tail -n 1)
        if [ -n "$counts" ]; then
            total=${counts% *}
            bad=${counts#* }
        else
            total=0
            bad=0
        fi
        # A run that ended without its summary or failed for another reason
        # (no tests found, ctest's own error) counts as a failure.
        if [ "$bad" -eq 0 ] && { [ "$status" -ne 0 ] || [ -z "$counts" ]; }; then bad=1; total=$((total + 1)); fi
        passed=$((passed + total - bad))
        failed=$((failed + bad))
        results="$results$dir over $name: $((total - bad)) passed, $bad failed
"
        took "tests in $dir over $name"
    done
done

echo "== results"
printf '%s' "$results"
printf '%s' "$timings"
echo "all: $(( $(date +%s) - started )) s"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
