#!/usr/bin/env bash
# The hover fade reaches the X server step by step: the tint's opacity property, sampled during the fade,
# shows values between the idle and the hover opacity.
set -euo pipefail
source "$(dirname "$0")/desktop.sh"
desktop_init 60

desktop_with_tint '<key>Menu Bar State Check Interval</key><real>0.5</real>'
tint=$(awning_strip_windows | head -n 1)
[[ -n $tint ]] || fail "no tint window"

# The idle opacity 0.2 and the hover opacity 0 in the property's 32-bit scale.
idle=$((0xffffffff / 5))
samples="$DESKTOP_DIR/opacity"
(
    end=$(($(date +%s%N) + 1500000000))
    while (($(date +%s%N) < end)); do
        xprop -id "$tint" -notype _NET_WM_WINDOW_OPACITY 2>/dev/null | awk '{ print $3 }'
    done
) >"$samples" &
sampler=$!
nap 0.2
xdotool mousemove "$((DESKTOP_WIDTH / 3))" "$((PANEL_HEIGHT / 2))"
wait "$sampler"

between=$(awk -v idle="$idle" '$1 != "" && $1 > 0 && $1 < idle - idle / 100 { n++ } END { print n + 0 }' "$samples")
log "$(wc -l <"$samples") samples, $between of them mid-fade"
((between >= 2)) || fail "the fade reached the server in one step: $(sort -u "$samples" | tr '\n' ' ')"
log "pass"
