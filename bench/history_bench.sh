#!/usr/bin/env bash
# What the settings history costs a backup: `q93ctl backup --jobs 8` of 100 simulated encoders
# over TCP on loopback, with one field changed on one encoder before each run, timed without a
# history and with one (each run then records a version naming that field). Prints the median
# of RUNS runs each and the ratio. Usage: bench/history_bench.sh [BIN_DIR] [RUNS]
set -euo pipefail

bin=$(cd "${1:-build/bin}" && pwd)
runs=${2:-5}
work=$(mktemp -d)
sim_pid=""
cleanup() {
    if [[ -n "$sim_pid" ]]; then
        kill "$sim_pid" 2>/dev/null || true
        wait "$sim_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

"$bin/q93sim" --encoders 100 --tcp 127.0.0.1:0 >"$work/sim.out" 2>/dev/null &
sim_pid=$!
for _ in $(seq 100); do
    [[ -s "$work/sim.out" ]] && break
    sleep 0.05
done
first=$(head -1 "$work/sim.out" | sed 's/.*://')

# Two copies of the same fleet's folders: one plain, one keeping a history.
for store in plain history; do
    mkdir -p "$work/$store"
    for s in $(seq 0 9); do
        for e in $(seq 0 9); do
            (cd "$work/$store" && "$bin/q93ctl" add "Site$s/Enc$e" --port TCP/IP --ip 127.0.0.1 \
                --tcp-port $((first + s * 10 + e)) >/dev/null)
        done
    done
done
(cd "$work/history" && "$bin/q93ctl" history init >/dev/null)
(cd "$work/plain" && "$bin/q93ctl" backup --jobs 8 >/dev/null)
(cd "$work/history" && "$bin/q93ctl" backup --jobs 8 >/dev/null)

# Sets the MPX gain of preset 1 of Site3/Enc7 to a value that step $1 gives (offset 56 of the
# preset block); the timed runs run in subshells, so the step comes as an argument.
change_one_field() {
    local step=$1
    cp "$work/plain/LocationData/Site3/Enc7/Preset-1.dat" "$work/edit.dat"
    python3 -c "import struct,sys; d=bytearray(open(sys.argv[1],'rb').read()); \
struct.pack_into('<d', d, 56, (int(sys.argv[2]) % 25) / 4 - 3); open(sys.argv[1],'wb').write(d)" \
        "$work/edit.dat" "$step"
    (cd "$work/plain" && "$bin/q93ctl" --encoder Site3/Enc7 write-preset 1 --in "$work/edit.dat" \
        >/dev/null)
}

timed_backup() {
    local store=$1 start end
    change_one_field "$2"
    start=$(date +%s.%N)
    (cd "$work/$store" && "$bin/q93ctl" backup --jobs 8 >/dev/null)
    end=$(date +%s.%N)
    awk -v from="$start" -v to="$end" 'BEGIN { printf "%.4f\n", to - from }'
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

plain=()
history=()
for run in $(seq "$runs"); do
    plain+=("$(timed_backup plain $((run * 2)))")
    history+=("$(timed_backup history $((run * 2 + 1)))")
done
plain_median=$(printf '%s\n' "${plain[@]}" | median)
history_median=$(printf '%s\n' "${history[@]}" | median)
versions=$(cd "$work/history" && "$bin/q93ctl" history --json | grep -c '"shortId"')

printf '%-52s %8s\n' "backup of 100 encoders, one field changed, --jobs 8" "seconds"
printf '%-52s %8.3f\n' "without a history (median of $runs)" "$plain_median"
printf '%-52s %8.3f\n' "with a history, a version each run (median of $runs)" "$history_median"
printf '%-52s %7.1f%%   (goal: at most 20 %%)\n' "cost of the history" \
    "$(awk -v h="$history_median" -v p="$plain_median" 'BEGIN { print (h / p - 1) * 100 }')"
printf '%-52s %8d\n' "versions recorded (the first backup and one a run)" "$versions"
