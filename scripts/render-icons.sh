#!/usr/bin/env bash
# Renders the application icon's PNG sizes from its SVG. The PNGs are committed,
# so building does not need this; run it after changing the SVG
# (needs rsvg-convert from librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../resources/linux/icons"

for size in 16 22 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" org.quilo.Quilo.svg -o "org.quilo.Quilo-$size.png"
done
