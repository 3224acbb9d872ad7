#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need, when any is missing.
set -euo pipefail

packages=(cmake g++ make pkg-config git libgtest-dev libgmock-dev qt6-base-dev qt6-l10n-tools qt6-tools-dev qt6-translations-l10n libgl-dev nlohmann-json3-dev libgit2-dev libcpp-httplib-dev libmicrohttpd-dev libgnutls28-dev libyaml-cpp-dev libcrypt-dev curl openssl clang libclang-rt-14-dev desktop-file-utils appstream scdoc librsvg2-bin lintian dpkg-dev fakeroot file man-db xvfb xauth x11-utils systemd)

# promtool checks the watch's metrics and the example alert rules, amtool the example
# Alertmanager route; each comes with its server, which must not be left running on a
# developer's machine or in CI.
service_packages=(prometheus prometheus-alertmanager)

installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

missing=()
for package in "${packages[@]}"; do
    if ! installed "$package"; then
        missing+=("$package")
    fi
done
missing_services=()
for package in "${service_packages[@]}"; do
    if ! installed "$package"; then
        missing_services+=("$package")
    fi
done
[[ ${#missing[@]} -eq 0 && ${#missing_services[@]} -eq 0 ]] && exit 0

sudo=""
if [[ $(id -u) -ne 0 ]]; then
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
if [[ ${#missing[@]} -gt 0 ]]; then
    echo "installing: ${missing[*]}"
    $sudo apt-get install -y -qq "${missing[@]}"
fi
if [[ ${#missing_services[@]} -gt 0 ]]; then
    echo "installing without their recommendations: ${missing_services[*]}"
    $sudo apt-get install -y -qq --no-install-recommends "${missing_services[@]}"
    # The package's post-install starts the server where the init system lets it.
    for service in "${missing_services[@]}"; do
        if command -v systemctl >/dev/null && systemctl is-system-running >/dev/null 2>&1; then
            $sudo systemctl disable --now "$service" >/dev/null 2>&1 || true
        elif [[ -x /etc/init.d/$service ]]; then
            $sudo /etc/init.d/"$service" stop >/dev/null 2>&1 || true
        fi
    done
fi
