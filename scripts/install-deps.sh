#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build needs and is not there yet.
#   install-deps.sh build   compilers (GCC, and clang with libFuzzer), CMake, Ninja, libpng, Qt 6,
#                           GoogleTest, Google Benchmark
#   install-deps.sh run     the above, plus a Japanese font and Qt's own translations for the editor
#   install-deps.sh bench   the above build set, plus pixman for the reference measurements
set -euo pipefail

packages=(g++ clang libclang-rt-14-dev cmake ninja-build pkg-config libpng-dev zlib1g-dev qt6-base-dev qt6-base-dev-tools
          libgtest-dev libgmock-dev libbenchmark-dev)
case "${1:-build}" in
    run) packages+=(fonts-noto-cjk xdg-utils qt6-translations-l10n) ;;
    bench) packages+=(libpixman-1-dev) ;;
esac

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
