#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build needs and is not there yet.
#   install-deps.sh build    compilers (GCC, and clang with libFuzzer), CMake, Ninja, libpng, libwebp,
#                            giflib, Leptonica, Qt 6, Qt's translation tools, GoogleTest, Google
#                            Benchmark, OpenSSL's libcrypto (the tests' SHA-256), and the validators
#                            the tests run on the desktop files and manual pages
#   install-deps.sh run      the above, plus a Japanese font and Qt's own translations for the editor
#   install-deps.sh bench    the above build set, plus pixman for the reference measurements
#   install-deps.sh package  the above build set, plus what CPack needs to compute the package's
#                            dependencies (dpkg-shlibdeps, file)
set -euo pipefail

packages=(g++ clang libclang-rt-14-dev cmake ninja-build pkg-config libpng-dev zlib1g-dev libpugixml-dev
          libtiff-dev libwebp-dev libgif-dev libleptonica-dev qt6-base-dev qt6-base-dev-tools qt6-l10n-tools
          libgtest-dev libgmock-dev libbenchmark-dev libssl-dev
          desktop-file-utils libxml2-utils shared-mime-info groff-base)
case "${1:-build}" in
    run) packages+=(fonts-noto-cjk xdg-utils qt6-translations-l10n) ;;
    bench) packages+=(libpixman-1-dev) ;;
    package) packages+=(dpkg-dev file) ;;
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
