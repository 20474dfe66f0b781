#!/usr/bin/env bash
# Draws the About panel's link image, a small bird running to the right, into resources/. Our own
# artwork: run it again after changing a shape, and commit the image with the change.
# Needs ImageMagick's `convert`.
set -euo pipefail
out=${1:-"$(dirname "$0")/../../resources/KRRetinaRunningBird.png"}

convert -size 96x64 xc:none \
    -stroke '#8a5a2b' -strokewidth 3 -fill none \
    -draw 'polyline 44,44 38,56 30,58' \
    -draw 'polyline 52,44 62,54 70,52' \
    -stroke none -fill '#4f7fbf' \
    -draw 'polygon 22,30 6,22 10,34 20,38' \
    -draw 'ellipse 46,34 24,14 0,360' \
    -fill '#6f9fdf' -draw 'ellipse 42,32 13,7 0,360' \
    -fill '#4f7fbf' -draw 'circle 68,20 68,31' \
    -fill '#f2b233' -draw 'polygon 77,16 92,21 77,25' \
    -fill white -draw 'circle 71,17 71,21' \
    -fill '#1d1d1d' -draw 'circle 72,17 72,19' \
    -stroke '#9bb8dd' -strokewidth 2 -fill none \
    -draw 'line 2,44 14,44' -draw 'line 6,50 20,50' -draw 'line 0,38 8,38' \
    -strip "PNG32:$out"
