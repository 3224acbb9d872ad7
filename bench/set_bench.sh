#!/usr/bin/env bash
# Times `q93ctl set --apply` of one preset field on 100 simulated encoders over TCP with
# --jobs 8, against `q93ctl backup --jobs 8` of the same fleet in the same run, and prints
# the ratio (the goal is at most 2). Usage: bench/set_bench.sh [BIN_DIR]
set -euo pipefail

bin=$(cd "${1:-build/bin}" && pwd)
source "$(dirname "${BASH_SOURCE[0]}")/bench_work.sh"

out="$work/sim.out"
"$bin/q93sim" --encoders 100 --tcp 127.0.0.1:0 >"$out" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do
    [[ -s "$out" ]] && break
    sleep 0.05
done
first=$(head -1 "$out" | sed 's/.*://')

cd "$work"
for s in $(seq 0 9); do
    for e in $(seq 0 9); do
        "$bin/q93ctl" add "Site$s/Enc$e" --port TCP/IP --ip 127.0.0.1 \
            --tcp-port $((first + s * 10 + e)) >/dev/null
    done
done

# Seconds a command takes; it must succeed.
seconds() {
    local start end
    start=$(date +%s.%N)
    "$bin/q93ctl" "$@" >/dev/null
    end=$(date +%s.%N)
    awk -v from="$start" -v to="$end" 'BEGIN { printf "%.3f", to - from }'
}

backup=$(seconds backup --jobs 8)
set=$(seconds set --presets 2 pilotLevel=6.0 --apply --jobs 8)
echo "backup of 100 encoders, --jobs 8:                 ${backup} s"
echo "set --apply of one preset field, 100 encoders, --jobs 8: ${set} s"
awk -v b="$backup" -v s="$set" 'BEGIN { printf "set / backup: %.2f (goal <= 2)\n", s / b }'
