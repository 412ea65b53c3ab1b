#!/usr/bin/env bash
# Redraws the committed PNG icons from orv.svg; run it after changing the SVG.
# rsvg-convert comes with Debian's librsvg2-bin.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 22 24 32 48 64 128 256; do
    mkdir -p "${size}x${size}"
    rsvg-convert --width "$size" --height "$size" orv.svg --output "${size}x${size}/orv.png"
done
