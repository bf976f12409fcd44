#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when any is missing. Run as root.
set -euo pipefail
packages=(cmake g++ make pkg-config ccache juce-modules-source libgtest-dev libgmock-dev
          libx11-dev libxext-dev libxrandr-dev libxinerama-dev libxcursor-dev
          libfreetype-dev libfontconfig1-dev xvfb xauth fonts-liberation2 fonts-dejavu-core)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
