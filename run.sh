#!/usr/bin/env bash
# Builds what is missing and starts the tool on demo data against the simulated encoder.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"

exec scripts/demo.sh
