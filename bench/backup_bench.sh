#!/usr/bin/env bash
# Times `q93ctl backup` of 100 simulated encoders over TCP on loopback: with --jobs 1 and
# --jobs 8, then with 10 of the 100 silent (they take the connection and answer only after
# the tool has given up),
# and prints what one silent encoder costs. Usage: bench/backup_bench.sh [BIN_DIR]
set -euo pipefail

bin=$(cd "${1:-build/bin}" && pwd)
source "$(dirname "${BASH_SOURCE[0]}")/bench_work.sh"

# Starts q93sim with the given arguments and sets $port to the first port it serves.
start_sim() {
    local out="$work/sim-${#pids[@]}.out"
    "$bin/q93sim" "$@" >"$out" 2>/dev/null &
    pids+=($!)
    for _ in $(seq 100); do
        [[ -s "$out" ]] && break
        sleep 0.05
    done
    port=$(head -1 "$out" | sed 's/.*://')
}

start_sim --encoders 100 --tcp 127.0.0.1:0
healthy=$port
start_sim --encoders 10 --tcp 127.0.0.1:0 --fault delay:3000
silent=$port

cd "$work"
# Ten sites of ten encoders; encoder k of the healthy fleet at port healthy + k - 1.
add_all() {
    for s in $(seq 0 9); do
        for e in $(seq 0 9); do
            "$bin/q93ctl" add "Site$s/Enc$e" --force --port TCP/IP --ip 127.0.0.1 \
                --tcp-port $((healthy + s * 10 + e)) >/dev/null
        done
    done
}
# Every tenth encoder goes silent.
silence_ten() {
    for s in $(seq 0 9); do
        "$bin/q93ctl" add "Site$s/Enc5" --force --port TCP/IP --ip 127.0.0.1 \
            --tcp-port $((silent + s)) >/dev/null
    done
}

# Seconds one backup takes, and a check of how many encoders came back OK.
timed_backup() {
    local jobs=$1 expect_ok=$2 start end ok
    start=$(date +%s.%N)
    "$bin/q93ctl" backup --jobs "$jobs" >"$work/result.txt" || true
    end=$(date +%s.%N)
    ok=$(grep -c ' OK$' "$work/result.txt" || true)
    if [[ "$ok" != "$expect_ok" ]]; then
        echo "expected $expect_ok encoders OK, got $ok" >&2
        exit 1
    fi
    awk -v from="$start" -v to="$end" 'BEGIN { printf "%.3f", to - from }'
}

add_all
"$bin/q93ctl" backup --jobs 8 >/dev/null || true  # the files a nightly run finds
healthy1=$(timed_backup 1 100)
healthy8=$(timed_backup 8 100)
silence_ten
silent1=$(timed_backup 1 90)
silent8=$(timed_backup 8 90)

printf '%-40s %8s\n' "backup over TCP on loopback" "seconds"
printf '%-40s %8.2f\n' "100 healthy, --jobs 1" "$healthy1"
printf '%-40s %8.2f   (goal: under 3 s)\n' "100 healthy, --jobs 8" "$healthy8"
printf '%-40s %8.2f\n' "90 healthy + 10 silent, --jobs 1" "$silent1"
printf '%-40s %8.2f\n' "90 healthy + 10 silent, --jobs 8" "$silent8"
printf '%-40s %8.2f   (one time-out is 1.01 s)\n' "cost of one silent encoder, --jobs 1" \
    "$(awk -v s="$silent1" -v h="$healthy1" 'BEGIN { print (s - h * 0.9) / 10 }')"
