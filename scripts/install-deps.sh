#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need, when any is missing.
set -euo pipefail

packages=(cmake g++ make pkg-config libgtest-dev libgmock-dev qt6-base-dev qt6-l10n-tools qt6-tools-dev qt6-translations-l10n libgl-dev nlohmann-json3-dev libgit2-dev clang libclang-rt-14-dev desktop-file-utils appstream scdoc librsvg2-bin lintian dpkg-dev fakeroot file man-db xvfb xauth x11-utils)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "installing: ${missing[*]}"
sudo=""
if [[ $(id -u) -ne 0 ]]; then
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq "${missing[@]}"
