#!/usr/bin/env bash
# Builds everything and runs every test twice: a plain build, then one with the address and
# undefined-behaviour sanitizers; then the tests that start threads (label "threads") once
# more under ThreadSanitizer, in a build of those test programs alone; then a few seconds of
# every fuzz target (scripts/fuzz.sh long runs them for ten million executions each). Exits
# non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh

jobs=$(nproc)
# Most cases spend their time waiting on a socket, a line or a time-out rather than computing,
# so twice as many run at once as there are cores; under ThreadSanitizer they compute.
ctest_jobs=$((2 * jobs))
# run_suite DIR TARGET CMAKE_ARGS...: configures DIR, builds TARGET there (all, or only what the
# suite runs) and runs its tests.
run_suite() {
    local dir=$1 target=$2
    shift 2
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$dir" -j"$jobs" --target "$target"
    (cd "$dir" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$ctest_jobs" ${CTEST_ARGS:-})
}

echo "== plain build"
run_suite build all -DQ93_SANITIZE=

# The sanitizer builds optimise at -O1, as the sanitizers' makers advise: their reports keep
# every frame, and the compiler spends less time on the same files.
sanitized_flags=(-DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG")

echo "== address and undefined-behaviour sanitizers"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp" \
    run_suite build-asan all -DQ93_SANITIZE=address,undefined "${sanitized_flags[@]}"

echo "== thread sanitizer, the tests that start threads"
ctest_jobs=$jobs TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/tests/tsan.supp" \
    CTEST_ARGS="${CTEST_ARGS:-} -L threads" run_suite build-tsan threaded_tests -DQ93_SANITIZE=thread \
    "${sanitized_flags[@]}"

echo "== fuzz targets, a few seconds each"
scripts/fuzz.sh short
