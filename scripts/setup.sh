#!/usr/bin/env bash
# Installs every Debian 12 package QUILO needs to build, test and run. Safe to run again.
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libhidapi-dev libudev-dev libpugixml-dev
    googletest libgmock-dev libgtest-dev libbenchmark-dev
    fonts-noto-cjk fonts-noto-core xvfb xauth
    clang-format ccache
    dbus-daemon libglib2.0-bin
    qt6-httpserver-dev qt6-websockets-dev libqrencode-dev chromium chromium-driver
    libmosquitto-dev mosquitto mosquitto-clients openssl
    desktop-file-utils appstream libxml2-utils shared-mime-info dpkg-dev man-db file
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
