#!/usr/bin/env bash
# The fleet watch over 100 simulated encoders on loopback, --jobs 8: how long one poll round
# takes (the time until every encoder shows in /metrics), and the watch's CPU time, its
# worker threads included, per minute at a 30 s interval. The CPU time is measured over
# ROUNDS rounds run back to back (--interval 1) and scaled to the two rounds a minute of a
# 30 s interval. Then the settings reads (drift) alone: every encoder backed up, a watch that
# polls once and reads the settings of all 100 round after round (--settings-interval 1), its
# CPU time over DRIFT_ROUNDS rounds scaled to one round per 900 s, the default interval. Each
# block read is one exchange (one connection) there; most of the time left is the kernel's per
# answer (a wake-up and loopback's delivery), 236 answers an encoder.
# Usage: bench/watch_bench.sh [BIN_DIR] [ROUNDS] [DRIFT_ROUNDS]
set -euo pipefail

bin=$(cd "${1:-build/bin}" && pwd)
rounds=${2:-20}
drift_rounds=${3:-2}
encoders=100
source "$(dirname "${BASH_SOURCE[0]}")/bench_work.sh"

# Waits for the first line of FILE and prints it.
first_line() {
    for _ in $(seq 200); do
        [[ -s "$1" ]] && break
        sleep 0.02
    done
    head -1 "$1"
}

"$bin/q93sim" --encoders $encoders --tcp 127.0.0.1:0 >"$work/sim.out" 2>/dev/null &
pids+=($!)
port=$(first_line "$work/sim.out" | sed 's/.*://')
cd "$work"
for k in $(seq 0 $((encoders - 1))); do
    "$bin/q93ctl" add "Site$((k / 10))/Enc$((k % 10))" --port TCP/IP --ip 127.0.0.1 \
        --tcp-port $((port + k)) >/dev/null
done

# Seconds since the epoch with fractions, and the watch's CPU seconds with its reaped workers.
now() { date +%s.%N; }
cpu_seconds() {
    awk -v hz="$(getconf CLK_TCK)" '{ print ($14 + $15 + $16 + $17) / hz }' "/proc/$1/stat"
}
metric() { curl -s "$url" | awk -v name="$1" '$1 == name { print $2 }'; }
up_count() { curl -s "$url" | grep -c '^q93_up{' || true; }

start=$(now)
"$bin/q93ctl" watch --listen 127.0.0.1:0 --interval 1 --jobs 8 >"$work/watch.out" 2>/dev/null &
watch=$!
pids+=($watch)
url=$(first_line "$work/watch.out" | sed 's/^serving //')
until [[ $(up_count) -ge $encoders ]]; do sleep 0.02; done
round=$(echo "$(now) - $start" | bc -l)
printf 'one poll round over %d encoders, --jobs 8: %.2f s (goal: under 2 s)\n' $encoders "$round"

polls0=$(metric q93_watch_polls_total)
cpu0=$(cpu_seconds $watch)
wall0=$(now)
# Scraped once a second only: the text made for each scrape is CPU time of the watch too, and
# Prometheus asks twice a minute, not ten times a second.
until (( $(metric q93_watch_polls_total) >= polls0 + rounds * encoders )); do sleep 1; done
cpu1=$(cpu_seconds $watch)
wall1=$(now)
polls1=$(metric q93_watch_polls_total)
errors=$(metric q93_watch_poll_errors_total)
done_rounds=$(echo "($polls1 - $polls0) / $encoders" | bc -l)
per_round=$(echo "($cpu1 - $cpu0) / $done_rounds" | bc -l)
per_minute=$(echo "$per_round * 2" | bc -l)
printf '%.1f rounds back to back in %.1f s: %.3f CPU s a round (%d poll errors)\n' \
    "$done_rounds" "$(echo "$wall1 - $wall0" | bc -l)" "$per_round" "$errors"
printf 'at a 30 s interval: %.3f CPU s a minute = %.2f %% of one core (goal: under 1 %%)\n' \
    "$per_minute" "$(echo "$per_minute / 60 * 100" | bc -l)"

# The settings reads: stored files for every encoder first, so that each has something to
# compare with. The polls run once (--interval 86400), so what the CPU time holds besides the
# settings reads is one scrape a second.
kill $watch
wait $watch 2>/dev/null || true
"$bin/q93ctl" backup --jobs 8 >/dev/null
"$bin/q93ctl" watch --listen 127.0.0.1:0 --interval 86400 --settings-interval 1 --jobs 8 \
    >"$work/drift.out" 2>/dev/null &
watch=$!
pids+=($watch)
url=$(first_line "$work/drift.out" | sed 's/^serving //')
reads() { metric q93_watch_settings_reads_total; }
until [[ -n "$(reads)" ]] && (( $(reads) >= encoders )); do sleep 1; done
reads0=$(reads)
cpu0=$(cpu_seconds $watch)
wall0=$(now)
until (( $(reads) >= reads0 + drift_rounds * encoders )); do sleep 1; done
cpu1=$(cpu_seconds $watch)
wall1=$(now)
reads1=$(reads)
drifting=$(curl -s "$url" | grep -c '^q93_settings_drift{.*} 1$' || true)
done_rounds=$(echo "($reads1 - $reads0) / $encoders" | bc -l)
per_round=$(echo "($cpu1 - $cpu0) / $done_rounds" | bc -l)
printf '%.1f settings rounds over %d encoders back to back in %.1f s: %.3f CPU s a round (%d drifting)\n' \
    "$done_rounds" $encoders "$(echo "$wall1 - $wall0" | bc -l)" "$per_round" "$drifting"
printf 'at the default --settings-interval 900: %.4f %% of one core (goal: at most 0.1 %%)\n' \
    "$(echo "$per_round / 900 * 100" | bc -l)"
