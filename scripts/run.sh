#!/usr/bin/env bash
# Builds orv and runs it: the editor on an example effect where a display is available, otherwise
# the command-line renderer, which renders that example into PNG frames.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh run

build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORV_BUILD_TESTS=OFF -DORV_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"

example=examples/fire.orv
if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" && -x "$build/app/orv" ]]; then
    exec "$build/app/orv" "$example"
fi
out=out/$(basename "$example" .orv)
"$build/cli/orv-render" --seconds 3 "$example" "$out/frame"
echo "No display: rendered $example into $PWD/$out/ (frame000000.png ...)."
