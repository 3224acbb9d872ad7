#!/usr/bin/env bash
# systemd_units_verify.sh UNIT_DIR BIN_DIR
# Runs `systemd-analyze verify --user` over the scheduled jobs' units, with q93ctl taken from
# BIN_DIR where systemd would find it on the PATH of an installed system; then over a copy
# whose service names a program that is not there, which it must refuse. Exit 77 (skipped)
# without systemd-analyze.
set -euo pipefail
units=$1
bin=$(cd "$2" && pwd)
command -v systemd-analyze >/dev/null || { echo "no systemd-analyze here"; exit 77; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/runtime" "$work/good" "$work/bad"
# A user manager needs a runtime folder; the manual pages are not installed in a build.
verify() { XDG_RUNTIME_DIR="$work/runtime" systemd-analyze verify --user --man=no "$@"; }

# The user units of the scheduled jobs; the watch's system unit has a check of its own.
for unit in "$units"/q93ctl-backup.* "$units"/q93ctl-clock.*; do
    sed "s|^ExecStart=q93ctl |ExecStart=$bin/q93ctl |" "$unit" >"$work/good/$(basename "$unit")"
    sed "s|^ExecStart=q93ctl |ExecStart=$work/missing/q93ctl |" "$unit" \
        >"$work/bad/$(basename "$unit")"
done
verify "$work"/good/*
echo "units verify"
if verify "$work"/bad/* 2>"$work/bad.txt"; then
    echo "a unit naming a missing program passed" >&2
    exit 1
fi
grep -q "missing/q93ctl is not executable" "$work/bad.txt"
echo "a unit naming a missing program is refused"
