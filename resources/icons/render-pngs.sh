#!/bin/sh
# Renders the application icon PNGs from the SVG drawings in this folder.
# Needs rsvg-convert (Debian/Ubuntu: apt-get install librsvg2-bin).
# The small sizes come from the 16 px drawing, which stays crisp there;
# 32 px and up come from the full drawing.
set -eu
cd "$(dirname "$0")"

if ! command -v rsvg-convert >/dev/null 2>&1; then
    echo "render-pngs.sh: rsvg-convert not found (apt-get install librsvg2-bin)" >&2
    exit 1
fi

for size in 16 22 24; do
    rsvg-convert -w "$size" -h "$size" app_quillet_small.svg -o "app_quillet_$size.png"
done
for size in 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" app_quillet.svg -o "app_quillet_$size.png"
done
echo "render-pngs.sh: app_quillet_{16,22,24,32,48,64,128,256}.png written"
