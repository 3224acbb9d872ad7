#!/usr/bin/env bash
# Lays out a demo working folder (two sites, three encoders), starts two simulated encoders
# for it, one on TCP and one on a pseudo-terminal standing in for serial port COM5, and opens
# the desktop tool there. The simulators are stopped when the tool ends, however it ends.
#   scripts/demo.sh                 the desktop tool
#   scripts/demo.sh -- COMMAND...   COMMAND instead, run in the demo folder with the
#                                   simulators up (the screenshot script uses it)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bin="$root/build/bin"
demo="${Q93_DEMO_DIR:-$root/build/demo}"

rm -rf "$demo"
mkdir -p "$demo/config/q93config" "$demo/store-tcp" "$demo/store-serial"
sims=()
cleanup() {
    for pid in "${sims[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP

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
    [[ -n "$sim_line" ]] || { echo "demo: q93sim did not start: $(cat "$out.err")" >&2; exit 1; }
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

# Two sites, three encoders; "Reserve-2" has no tcp.txt yet (Properties... in its context
# menu gives it one). setup.txt shows the Correction values page.
mkdir -p "$demo/LocationData/Funkhaus/StudioA" "$demo/LocationData/Sender/Turm" \
    "$demo/LocationData/Sender/Reserve-2"
printf '127.0.0.1\r\n%s\r\nTCP/IP\r\n5\r\n1\r\n' "$tcp_port" >"$demo/LocationData/Funkhaus/StudioA/tcp.txt"
printf '127.0.0.1\r\n\r\nCOM5\r\n5\r\n1\r\n' >"$demo/LocationData/Sender/Turm/tcp.txt"
: >"$demo/setup.txt"

echo "simulated encoders: TCP 127.0.0.1:$tcp_port (Funkhaus/StudioA), serial $pty_path as COM5 (Sender/Turm)"
cd "$demo"
# StudioA starts with its settings stored, as after a backup, so the tree shows both looks: its
# nodes in black, the serial encoder's greyed until it is read.
"$bin/q93ctl" backup Funkhaus/StudioA >/dev/null || echo "demo: the backup of Funkhaus/StudioA failed" >&2
if [[ "${1:-}" == "--" ]]; then
    shift
    "$@"
else
    "$bin/q93config"
fi
