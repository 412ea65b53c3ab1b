#!/usr/bin/env bash
# Measures the renderer, then pixman doing the same sprite work, in one run so that both figures
# come from the same machine state. Extra arguments go to the Google Benchmark program, e.g.
#   scripts/bench.sh --benchmark_filter='rect/.*/opaque/'
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh build
if ! dpkg-query -W -f='${Status}' libpixman-1-dev 2>/dev/null | grep -q 'install ok installed'; then
    echo "Installing: libpixman-1-dev" >&2
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends libpixman-1-dev >/dev/null
fi

build=build/bench
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORV_BUILD_TESTS=OFF -DORV_BUILD_APP=OFF \
    -DORV_BUILD_BENCH=ON >/dev/null
cmake --build "$build" --target bench_render

# The reference program lives outside the repository; it is compiled into the build tree only.
anchor=${ORV_PIXMAN_ANCHOR:-$PWD/../shared/anchors/pixman_sprites.c}
reference=""
if [[ -f "$anchor" ]]; then
    reference=$build/pixman_sprites
    # shellcheck disable=SC2046
    cc -O2 "$anchor" $(pkg-config --cflags --libs pixman-1) -o "$reference"
else
    echo "No pixman reference at $anchor; measuring orv only." >&2
fi

"$build/bench/bench_render" "$@"
if [[ -n "$reference" ]]; then
    echo
    "$reference"
fi
