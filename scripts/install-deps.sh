#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need,
# and any further packages named as arguments.
set -euo pipefail
packages=(
    build-essential cmake ccache pkg-config
    qt6-base-dev qt6-qpa-plugins libgl-dev fonts-dejavu-core
    libchm-dev fp-utils libxml2-dev
    poppler-utils libbenchmark-dev clang xvfb fonts-liberation2
    syncthing python3-pyatspi at-spi2-core dbus-daemon dbus-x11 openbox xdotool imagemagick
    "$@"
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
