#!/bin/sh
# verify_unit.sh UNIT PROGRAM: systemd-analyze verify on a copy of UNIT whose ExecStart
# runs PROGRAM (the built q93ctl) instead of /usr/bin/q93ctl, which a build tree lacks.
set -eu
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
name=$(basename "$1")
sed "s|^ExecStart=/usr/bin/q93ctl |ExecStart=$2 |" "$1" > "$dir/$name"
grep -q "^ExecStart=$2 watch " "$dir/$name"
systemd-analyze verify --man=no "$dir/$name"
