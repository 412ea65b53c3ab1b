#!/usr/bin/env bash
# Builds the Debian package build/pkg/orv_<version>_amd64.deb: a Release build that installs
# under /usr, packed by CPack with the dependencies dpkg-shlibdeps finds in the programs.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh package

build=build/pkg
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
      -DORV_BUILD_TESTS=OFF -DORV_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"
(cd "$build" && cpack -G DEB)
echo "Built: $(ls "$PWD/$build"/orv_*.deb)"
echo "Install it with: apt-get install $PWD/$build/orv_*.deb"
