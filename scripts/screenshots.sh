#!/usr/bin/env bash
# Starts q93config under a virtual display on the demo data, once in German and once in
# English, walks the tree to a preset with the keyboard, and saves a PNG of the main window:
#   build/screenshots/main-LANG.png (a preset selected), device-LANG.png (an encoder selected),
#   modulation-LANG.png (the modulation power dialog polling the demo's TCP encoder),
#   menu-LANG.png (an encoder's context menu), connection-LANG.png (its Properties)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="$root/build/screenshots"

tools=(xvfb xauth imagemagick xdotool)
missing=()
for package in "${tools[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [[ ${#missing[@]} -gt 0 ]]; then
    sudo=""; [[ $(id -u) -ne 0 ]] && sudo="sudo"
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi
[[ -x "$root/build/bin/q93config" ]] || { echo "build first: ./test.sh or ./run.sh" >&2; exit 1; }
# run.sh builds the tool alone; the modulation dialog's shot comes from a test program.
cmake --build "$root/build" --target modulation_power_shot >/dev/null
mkdir -p "$out"

# Runs inside the demo folder with the simulators up and a display: the tool, the keys, the shots.
if [[ "${1:-}" == "--inside" ]]; then
    lang=$2
    "$root/build/bin/q93config" &
    tool=$!
    window=$(xdotool search --sync --name "Q93 Config V" | head -n1)
    sleep 1
    # Into the tree with a click on the first site, then keys: its first encoder, then the
    # encoder's second preset.
    eval "$(xdotool getwindowgeometry --shell "$window")"
    xdotool mousemove $((X + 60)) $((Y + 20)) click 1
    xdotool key Right Down
    sleep 0.5
    import -window "$window" "$out/device-$lang.png"
    xdotool key Right Down Down
    sleep 0.5
    import -window "$window" "$out/main-$lang.png"
    # The encoder's connection settings through its context menu, and the port log.
    xdotool mousemove $((X + 110)) $((Y + 38)) click 3
    sleep 0.5
    import -window root -crop 860x600+0+0 "$out/menu-$lang.png"
    # Properties, the fifth entry: after New site, New encoder, Rename and Remove.
    xdotool key Down Down Down Down Down Return
    sleep 0.5
    import -window root -crop 860x600+0+0 "$out/connection-$lang.png"
    xdotool key Escape
    sleep 0.3
    xdotool mousemove $((X + 110)) $((Y + 75)) click 1
    sleep 0.3
    xdotool mousemove $((X + 774)) $((Y + 50)) click 1
    sleep 0.5
    # Read the selected preset from the simulator, so that the log shows its frames.
    xdotool mousemove $((X + 774)) $((Y + 165)) click 1
    sleep 1
    import -window root -crop 860x600+0+0 "$out/portlog-$lang.png"
    # The log has the focus: a click on a free spot of the main window gives it back, so
    # that the keys below reach the main window.
    xdotool mousemove $((X + 780)) $((Y + 330)) click 1
    sleep 0.3
    xdotool key F1
    sleep 0.5
    import -window root -crop 860x380+0+0 "$out/about-$lang.png"
    xdotool key Escape
    sleep 0.3
    xdotool mousemove $((X + 780)) $((Y + 330)) click 1
    sleep 0.3
    xdotool key ctrl+d
    sleep 1
    import -window root "$out/dyn-open-$lang.png"
    xdotool key Escape
    kill "$tool"
    wait "$tool" 2>/dev/null || true
    # The modulation power dialog while it polls the demo's TCP encoder.
    port=$(sed -n 2p LocationData/Funkhaus/StudioA/tcp.txt | tr -d '\r')
    "$root/build/bin/modulation_power_shot" --ip 127.0.0.1 --tcp-port "$port" \
        --out "$out/modulation-$lang.png" --seconds 4
    exit 0
fi

for lang in de en; do
    locale=$([[ $lang == de ]] && echo de_DE.UTF-8 || echo en_US.UTF-8)
    LANG=$locale Q93_DEMO_DIR="$root/build/demo-shots" \
        xvfb-run -a -s "-screen 0 1280x800x24" "$root/scripts/demo.sh" -- "$root/scripts/screenshots.sh" --inside "$lang"
done
ls -1 "$out"/*.png
