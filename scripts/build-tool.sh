#!/usr/bin/env bash
# Builds in build/ the three programs that ./run.sh and the demo start (q93config, q93sim,
# q93ctl) and nothing of the tests, so that the window shows minutes sooner on a fresh clone.
# ./test.sh later builds the rest in the same folder.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target q93config q93sim q93ctl
