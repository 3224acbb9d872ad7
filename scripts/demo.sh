#!/usr/bin/env bash
# Starts two simulated encoders, one on TCP and one on a pseudo-terminal standing in for a
# serial port, lays out demo LocationData for them, and opens the desktop tool on it. Without
# the desktop tool it walks the same encoders through q93ctl instead.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bin="$root/build/bin"
demo="$root/build/demo"

rm -rf "$demo"
mkdir -p "$demo/config/q93config" "$demo/store-tcp" "$demo/store-serial"
sims=()
cleanup() {
    for pid in "${sims[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
}
trap cleanup EXIT

# Starts q93sim with the given arguments in the background and leaves its first line
# ("tcp …" or "pty …") in $sim_line. Not run in a subshell, so that cleanup knows the pid.
start_sim() {
    local out="$demo/sim-${#sims[@]}.out"
    "$bin/q93sim" "$@" >"$out" 2>"$out.err" &
    sims+=($!)
    for _ in $(seq 50); do
        [[ -s "$out" ]] && break
        sleep 0.1
    done
    sim_line=$(head -n1 "$out")
}

start_sim --tcp 127.0.0.1:0 --store "$demo/store-tcp"
tcp_line=$sim_line
start_sim --pty --serial-ack 1 --store "$demo/store-serial"
pty_line=$sim_line
tcp_port=${tcp_line##*:}
pty_path=${pty_line#pty }

# The serial encoder answers on COM5, which the INI file maps to the simulator's terminal.
printf '[Ports]\nCOM5=%s\n\n[Settings]\nDataBits=8\nParity=N\nStopBits=1\nHandshake=none\n' \
    "$pty_path" >"$demo/config/q93config/Q93Config.ini"
export XDG_CONFIG_HOME="$demo/config"

mkdir -p "$demo/LocationData/Funkhaus/StudioA" "$demo/LocationData/Sender/Turm"
printf '127.0.0.1\r\n%s\r\nTCP/IP\r\n5\r\n1\r\n' "$tcp_port" >"$demo/LocationData/Funkhaus/StudioA/tcp.txt"
printf '127.0.0.1\r\n\r\nCOM5\r\n5\r\n1\r\n' >"$demo/LocationData/Sender/Turm/tcp.txt"

echo "simulated encoders: TCP 127.0.0.1:$tcp_port (Funkhaus/StudioA), serial $pty_path as COM5 (Sender/Turm)"
cd "$demo"
if [[ -x "$bin/q93config" ]]; then
    "$bin/q93config"
    exit 0
fi

echo "The desktop tool is still to come; the same encoders through q93ctl:"
for encoder in Funkhaus/StudioA Sender/Turm; do
    echo "== $encoder"
    "$bin/q93ctl" --encoder "$encoder" read-preset 1
    "$bin/q93ctl" show "LocationData/$encoder/Preset-1.dat" | head -n 6
    "$bin/q93ctl" --encoder "$encoder" read-device | head -n 4
    "$bin/q93ctl" --encoder "$encoder" rtc-read
    "$bin/q93ctl" --encoder "$encoder" levels --count 3
done
