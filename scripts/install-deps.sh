#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build needs and is not there yet.
#   install-deps.sh build   compiler, CMake, Ninja, libpng, Qt 6, GoogleTest, Google Benchmark
#   install-deps.sh run     the above, plus a virtual display and a Japanese font for the editor
set -euo pipefail

packages=(g++ cmake ninja-build pkg-config libpng-dev zlib1g-dev qt6-base-dev qt6-base-dev-tools
          libgtest-dev libgmock-dev libbenchmark-dev)
if [[ "${1:-build}" == run ]]; then
    packages+=(fonts-noto-cjk xdg-utils)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}" >&2
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
