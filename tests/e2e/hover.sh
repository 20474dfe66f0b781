#!/usr/bin/env bash
# The pointer on the panel fades the tint to the hover opacity; leaving the panel brings it back.
set -euo pipefail
source "$(dirname "$0")/desktop.sh"
desktop_init 60

desktop_with_tint '<key>Menu Bar State Check Interval</key><real>0.5</real>'

# One layout period (0.2 s) plus the fade (0.15 s), with room for screenshots on a loaded machine.
limit=1.8
start=$(now)
xdotool mousemove "$((DESKTOP_WIDTH / 3))" "$((PANEL_HEIGHT / 2))"
wait_until 5 strip_plain "$PANEL_HEIGHT" "$PANEL_COLOR" || fail "tint did not fade while hovering"
took=$(elapsed_since "$start")
log "faded to the hover opacity after ${took}s"
awk -v t="$took" -v l="$limit" 'BEGIN { exit !(t <= l) }' || fail "hover fade took ${took}s (limit ${limit}s)"

# Moving along the panel keeps it clear.
xdotool mousemove "$((DESKTOP_WIDTH - 5))" 0
nap 0.5
strip_plain "$PANEL_HEIGHT" "$PANEL_COLOR" || fail "tint came back while the pointer is on the panel"

start=$(now)
xdotool mousemove "$((DESKTOP_WIDTH / 3))" "$((PANEL_HEIGHT + 60))"
wait_until 5 tint_shown "$PANEL_HEIGHT" || fail "tint did not return when the pointer left"
took=$(elapsed_since "$start")
log "back to the idle opacity after ${took}s"
awk -v t="$took" -v l="$limit" 'BEGIN { exit !(t <= l) }' || fail "idle fade took ${took}s (limit ${limit}s)"

# A stored hover opacity is used instead of the default.
write_defaults '<key>Shown Settings</key><true/>' '<key>Menu Bar State Check Interval</key><real>0.5</real>' \
    '<key>Hover Alpha</key><real>0.6</real>'
stop_pid "$AWNING_PID"
desktop_start_awning awning-again
wait_until 20 tint_shown "$PANEL_HEIGHT" || fail "no tint after restart"
xdotool mousemove "$((DESKTOP_WIDTH / 3))" "$((PANEL_HEIGHT / 2))"
wait_until 5 tint_shown "$PANEL_HEIGHT" 0.6 || {
    TINT_VERBOSE=1 tint_matches 0 "$PANEL_HEIGHT" 0.6
    fail "stored hover opacity not applied"
}
log "pass"
