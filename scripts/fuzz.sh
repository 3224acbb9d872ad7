#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang in build-fuzz and runs them one at a time,
# each on a scratch copy of its seed corpus, so the corpus in the repository never grows.
#   scripts/fuzz.sh short          a few seconds a target, under a minute in all (test.sh)
#   scripts/fuzz.sh long [RUNS]    RUNS executions a target (default 10000000), with figures
#   scripts/fuzz.sh long RUNS NAME...   only the targets named (command_frame, ini_file, ...)
# Exits non-zero when any target crashed, leaked, hung or made a sanitizer report; the input
# that did it is kept in the scratch folder named in the report.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-fuzz"

mode="${1:-}"
runs="${2:-10000000}"
only=("${@:3}")
case "$mode" in
    short | long) ;;
    *)
        echo "usage: scripts/fuzz.sh short | long [RUNS [NAME...]]" >&2
        exit 2
        ;;
esac

# name and the longest input worth trying: a little past each reader's own limit (1023
# characters of command text, 2296 bytes searched for an end byte, 1024 assembled by the TCP
# reader, 765 bytes of serial frame or hunt, a few lines of tcp.txt, a block file), so that no
# time goes on inputs the reader cuts anyway.
targets=(
    "command_frame 1100"
    "unstuff_ack 2400"
    "tcp_stream 1100"
    "serial_receive 800"
    "connection_file 160"
    "ini_file 256"
    "parameter_files 320"
    "sim_request 600"
)

if ! command -v clang++ >/dev/null; then
    echo "fuzz.sh: clang++ is missing; run scripts/install-deps.sh" >&2
    exit 1
fi
CXX=clang++ cmake -S "$root" -B "$build" -DQ93_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target fuzz_targets

scratch="$(mktemp -d "${TMPDIR:-/tmp}/q93-fuzz-run.XXXXXX")"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export ASAN_OPTIONS="detect_leaks=1"

if [[ $mode == short ]]; then
    budget=(-max_total_time=4)
else
    budget=(-runs="$runs")
    printf '%-16s %12s %8s %8s  %s\n' target executions seconds exec/s result
fi

failed=0
for row in "${targets[@]}"; do
    read -r name max_len <<<"$row"
    if [[ ${#only[@]} -gt 0 && " ${only[*]} " != *" $name "* ]]; then
        continue
    fi
    corpus="$scratch/$name/corpus"
    mkdir -p "$corpus"
    cp "$root/fuzz/corpus/$name/"* "$corpus/"
    log="$scratch/$name/log"
    start=$(date +%s)
    status=0
    nice "$build/bin/${name}_fuzz" "${budget[@]}" -max_len="$max_len" -timeout=10 \
        -print_final_stats=1 -artifact_prefix="$scratch/$name/" "$corpus" >"$log" 2>&1 ||
        status=$?
    seconds=$(($(date +%s) - start))
    result=clean
    if [[ $status -ne 0 ]] || grep -qE 'ERROR: |runtime error:|check failed' "$log"; then
        result="FAILED (exit $status), see $log"
        failed=1
    fi
    if [[ $mode == long ]]; then
        executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        printf '%-16s %12s %8s %8s  %s\n' "$name" "${executions:-?}" "$seconds" \
            "$((${executions:-0} / (seconds > 0 ? seconds : 1)))" "$result"
    else
        echo "fuzz $name: $result"
    fi
    if [[ $result != clean ]]; then
        grep -E -A12 'ERROR: |runtime error:|check failed' "$log" | head -40 >&2 || true
    fi
done

if [[ $failed -eq 0 ]]; then
    rm -rf "$scratch"
fi
exit "$failed"
