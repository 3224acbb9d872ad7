#!/usr/bin/env bash
# Builds what is missing of the tool and the simulated encoder (not the tests) and starts the
# tool on demo data against the simulated encoder.
set -euo pipefail
cd "$(dirname "$0")"

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    echo "run.sh: no display (DISPLAY and WAYLAND_DISPLAY are unset); on a machine without one run: xvfb-run -a ./run.sh" >&2
    exit 1
fi

scripts/build-tool.sh

exec scripts/demo.sh
