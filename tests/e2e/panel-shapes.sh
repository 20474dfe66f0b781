#!/usr/bin/env bash
# A panel narrower than the screen, or kept off its top edge by a margin, gets the tint exactly over
# itself; the desktop beside and above it stays as it was.
set -euo pipefail
source "$(dirname "$0")/desktop.sh"
desktop_init 60

# awning_window_at X Y WIDTH HEIGHT: one of Awning's viewable windows has exactly that geometry.
awning_window_at() {
    local id X Y WIDTH HEIGHT WINDOW SCREEN
    for id in $(xdotool search --onlyvisible --pid "$AWNING_PID" 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null)"
        [[ "$X $Y $WIDTH $HEIGHT" == "$1 $2 $3 $4" ]] && return 0
    done
    return 1
}

# darker_than_panel X Y: the pixel is the panel's colour darkened by the tint.
darker_than_panel() {
    awk -v got="$(pixel "$1" "$2")" -v want="$PANEL_COLOR" "$AWK_LIB"'BEGIN {
        split(got, g, " ")
        for (c = 0; c < 3; c++) if (g[c + 1] >= hex(substr(want, 2 * c + 1, 2)) - 2) exit 1
    }'
}

half=$((DESKTOP_WIDTH / 2))
quarter=$((DESKTOP_WIDTH / 4))
margin=6

desktop_start_xvfb
desktop_spawn panel "$AWNING_DEMO_PANEL" --color "$PANEL_COLOR" --height "$PANEL_HEIGHT" --width "$half" \
    --x "$quarter"
panel=$SPAWNED_PID
wait_until 10 grep -q '^ready' "$DESKTOP_DIR/panel.out" || fail "panel did not start"
xdotool mousemove "$half" "$((DESKTOP_HEIGHT - 40))"
desktop_start_compositor
write_defaults '<key>Shown Settings</key><true/>' '<key>Menu Bar State Check Interval</key><real>0.5</real>'
desktop_start_awning
wait_until 20 awning_window_at "$quarter" 0 "$half" "$PANEL_HEIGHT" || fail "no tint over the half-width panel"
shoot
tint_matches "$half" "$PANEL_HEIGHT" 0.2 || fail "the half-width panel is not tinted"
near "$(pixel 4 4)" "$ROOT_COLOR" 2 || fail "the desktop left of the panel got darker"
near "$(pixel "$((DESKTOP_WIDTH - 4))" 4)" "$ROOT_COLOR" 2 || fail "the desktop right of the panel got darker"
log "half-width panel tinted exactly"

stop_pid "$panel"
desktop_spawn panel-margin "$AWNING_DEMO_PANEL" --color "$PANEL_COLOR" --height "$PANEL_HEIGHT" --y "$margin"
wait_until 10 grep -q '^ready' "$DESKTOP_DIR/panel-margin.out" || fail "panel with a margin did not start"
wait_until 10 awning_window_at 0 "$margin" "$DESKTOP_WIDTH" "$PANEL_HEIGHT" || fail "no tint over the panel below the edge"
margin_tinted() {
    shoot &&
        near "$(pixel "$half" 2)" "$ROOT_COLOR" 2 &&
        near "$(pixel "$half" "$((margin + PANEL_HEIGHT + 2))")" "$ROOT_COLOR" 2 &&
        darker_than_panel "$half" "$((margin + PANEL_HEIGHT - 2))"
}
wait_until 5 margin_tinted || fail "the panel with a margin is not tinted exactly"
log "pass"
