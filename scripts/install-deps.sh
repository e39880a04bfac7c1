#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when any is missing.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config lld
    qt6-base-dev qt6-svg-dev libgl-dev fonts-dejavu-core
    libzip-dev
    libbenchmark-dev
    poppler-utils
    libeigen3-dev libspectra-dev
    libsuitesparse-dev libopenblas-dev
    libpetsc-real3.18-dev openmpi-bin
    dpkg-dev file
    # VTK's reader, which the viewer's exports are checked against
    python3-vtk9
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if ((${#missing[@]} == 0)); then
    exit 0
fi

sudo=()
if [[ $(id -u) -ne 0 ]]; then
    sudo=(sudo)
fi
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
