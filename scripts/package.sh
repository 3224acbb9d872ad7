#!/usr/bin/env bash
# Builds the Debian package q93config_<version>_<arch>.deb in a Release build (build-pkg, or the
# folder given), checks it with lintian, installs it on this machine, runs the installed
# programs (q93config under a virtual display), renders the installed manual pages and
# removes the package again. Exits non-zero on any failure, lintian errors included.
#   scripts/package.sh [BUILD_DIR]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

# Runs inside xvfb-run: the installed tool has to come up and show its main window, and still
# be running three seconds later; then it is stopped.
if [[ "${1:-}" == "--window-check" ]]; then
    /usr/bin/q93config &
    tool=$!
    sleep 3
    if ! kill -0 "$tool" 2>/dev/null; then
        wait "$tool" || true
        echo "q93config ended within 3 s" >&2
        exit 1
    fi
    window=$(xwininfo -root -tree | grep -c '"Q93 Config V' || true)
    kill "$tool"
    wait "$tool" 2>/dev/null || true
    if [[ $window -eq 0 ]]; then
        echo "q93config runs but shows no window titled \"Q93 Config V...\"" >&2
        exit 1
    fi
    echo "q93config: main window shown, still running after 3 s"
    exit 0
fi

build="$(realpath -m "${1:-$root/build-pkg}")"
sudo=""
[[ $(id -u) -ne 0 ]] && sudo="sudo"

"$root/scripts/install-deps.sh"

# Debian's own compiler and linker hardening, and the manual pages dated by the changelog's
# release rather than by the day of the build.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ldflags="$(dpkg-buildflags --get LDFLAGS)"
SOURCE_DATE_EPOCH="$(dpkg-parsechangelog -l "$root/packaging/changelog" -STimestamp)"
export SOURCE_DATE_EPOCH
# The changelog and the CMake project must agree on the version: a package of another name
# is not found below.
version="$(dpkg-parsechangelog -l "$root/packaging/changelog" -SVersion)"

echo "== Release build in $build"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DQ93_SANITIZE= \
    -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" >/dev/null
cmake --build "$build" -j"$(nproc)" --target q93config q93ctl q93sim q93_packaging_files

echo "== cpack -G DEB"
rm -f "$build"/q93config_*.deb
(cd "$build" && cpack -G DEB)
debs=("$build"/q93config_"$version"_*.deb)
deb=${debs[0]}
[[ -f "$deb" ]] || { echo "no q93config_${version}_*.deb in $build" >&2; exit 1; }
dpkg-deb --info "$deb"

echo "== lintian $(basename "$deb")"
lintian_status=0
report=$(lintian --fail-on error --display-info "$deb" 2>&1) || lintian_status=$?
grep -v '^running with root privileges' <<<"$report" || true
[[ $lintian_status -eq 0 ]] || { echo "lintian reports errors" >&2; exit 1; }
echo "lintian: no errors"

if dpkg-query -W -f='${Status}' q93config 2>/dev/null | grep -q "install ok installed"; then
    echo "q93config is installed already; remove it first (apt-get remove q93config)" >&2
    exit 1
fi
echo "== install"
remove_package() {
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq q93config >/dev/null || true
}
trap remove_package EXIT
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb"

echo "== installed programs"
for program in q93ctl q93sim; do
    help=$("/usr/bin/$program" --help)
    echo "/usr/bin/$program --help: exit 0, $(wc -l <<<"$help") lines: $(head -n 1 <<<"$help")"
done
scratch=$(mktemp -d)
trap 'remove_package; rm -rf "$scratch"' EXIT
mkdir -m 700 "$scratch/runtime"
# An empty working folder and configuration home: the tool starts on an empty tree.
(cd "$scratch" && XDG_RUNTIME_DIR="$scratch/runtime" XDG_CONFIG_HOME="$scratch" \
    xvfb-run -a "$root/scripts/package.sh" --window-check)

echo "== installed manual pages"
for program in q93config q93ctl q93sim; do
    page=/usr/share/man/man1/$program.1.gz
    warnings=$(LC_ALL=C.UTF-8 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
    [[ -z "$warnings" ]] || { echo "$page: $warnings" >&2; exit 1; }
    rendered=$(MANWIDTH=200 man -l "$page" | col -b)
    if ! grep -q "^NAME" <<<"$rendered" || ! grep -q "^       $program - " <<<"$rendered"; then
        echo "$page does not render as $program(1)" >&2
        exit 1
    fi
    echo "$program(1): $(grep -m1 "^       $program - " <<<"$rendered" | sed 's/^ *//')"
done

echo "== remove"
trap 'rm -rf "$scratch"' EXIT
$sudo env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq q93config
if [[ -e /usr/bin/q93config ]]; then
    echo "/usr/bin/q93config is still there after the removal" >&2
    exit 1
fi
echo "package built, checked, installed, run and removed: $(basename "$deb")"
