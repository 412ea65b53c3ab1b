#!/usr/bin/env bash
# Measures the renderer and the engine, then pixman doing the same sprite work, in one run so that
# the figures come from the same machine state. Extra arguments go to the renderer's benchmark, e.g.
#   scripts/bench.sh --benchmark_filter='rect/.*/opaque/'
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh bench

build=build/bench
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORV_BUILD_TESTS=OFF -DORV_BUILD_APP=OFF \
    -DORV_BUILD_BENCH=ON >/dev/null
cmake --build "$build" --target bench_render bench_engine bench_drawing_threads

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
echo
"$build/bench/bench_engine"
echo
"$build/bench/bench_drawing_threads"
if [[ -n "$reference" ]]; then
    echo
    "$reference"
fi
