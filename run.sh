#!/usr/bin/env bash
# Builds what is missing and starts the tool on demo data against the simulated encoder.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"

if [[ -x build/bin/q93config ]]; then
    exec scripts/demo.sh
fi

echo
echo "The desktop tool and the simulated encoder are still to come; what exists now:"
echo "  build/bin/q93ctl frame \"2d,03,4d,49,20\""
build/bin/q93ctl frame "2d,03,4d,49,20"
