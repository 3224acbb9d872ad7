#!/usr/bin/env bash
# How long a newcomer waits: clones this repository (at REV, default HEAD) into a temporary
# folder twice and prints the seconds from nothing to the programs ./run.sh opens, then to a
# green ./test.sh, with each of test.sh's stages on its own line and the test count of each.
#   bench/build_times.sh [REV [window | tests]]     (both stages unless one is named)
# The Debian packages are taken as installed (install-deps.sh is in both figures, and costs a
# second when nothing is missing). ccache is switched off, so that a warm cache on this machine
# does not flatter the figures; CCACHE_DISABLE=0 measures with it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
rev="${1:-HEAD}"
only="${2:-}"
export CCACHE_DISABLE="${CCACHE_DISABLE:-1}"

work="$(mktemp -d "${TMPDIR:-/tmp}/q93-build-times.XXXXXX")"
trap 'rm -rf "$work"' EXIT

# user plus system seconds from a file written by /usr/bin/time -f '%U %S'
cpu_seconds() {
    tail -n1 "$1" | awk '{ printf "%d", $1 + $2 }'
}

fresh_clone() {
    git clone -q --no-local "$root" "$work/$1"
    git -C "$work/$1" checkout -q "$(git -C "$root" rev-parse "$rev")"
}

echo "revision $(git -C "$root" rev-parse --short "$rev"), $(nproc) cores"

# The window's programs: what run.sh builds before it opens the tool. Older trees built
# everything there.
if [[ $only != tests ]]; then
    fresh_clone window
    start=$(date +%s)
    /usr/bin/time -f '%U %S' -o "$work/window.cpu" bash -c '
        cd "$1"
        if [[ -x scripts/build-tool.sh ]]; then
            scripts/build-tool.sh >/dev/null
        else
            scripts/install-deps.sh
            cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
            cmake --build build -j"$(nproc)" >/dev/null
        fi' - "$work/window"
    printf '%-44s %6d s  (%s s of CPU)\n' "run.sh: programs of the window built" $(($(date +%s) - start)) \
        "$(cpu_seconds "$work/window.cpu")"
    rm -rf "$work/window"
fi
[[ $only == window ]] && exit 0

# test.sh, its stages timed by the "== " lines it prints before each.
fresh_clone tests
log="$work/test.log"
start=$(date +%s)
stage="install-deps"
stage_start=$start
status=0
while IFS= read -r line; do
    printf '%s\n' "$line" >>"$log"
    if [[ $line == "== "* ]]; then
        now=$(date +%s)
        printf '%-44s %6d s\n' "test.sh: $stage" $((now - stage_start))
        stage="${line#== }"
        stage_start=$now
    elif [[ $line =~ tests\ passed,\ ([0-9]+)\ tests\ failed\ out\ of\ ([0-9]+) ]]; then
        printf '%-44s %6s   %s failed of %s\n' "  ctest" "" "${BASH_REMATCH[1]}" "${BASH_REMATCH[2]}"
    fi
done < <(
    cd "$work/tests"
    status=0
    /usr/bin/time -f '%U %S' -o "$work/tests.cpu" ./test.sh 2>&1 || status=$?
    echo "== exit $status"
)
end=$(date +%s)
status="${stage#exit }"
printf '%-44s %6d s  (%s s of CPU)\n' "test.sh: total (exit $status)" $((end - start)) \
    "$(cpu_seconds "$work/tests.cpu")"
if [[ $status != 0 ]]; then
    tail -40 "$log" >&2
    exit 1
fi
