#!/usr/bin/env bash
# A panel that slides off the top edge and back (MATE's auto-hide) is followed as it moves: the tint covers
# what is left of it on the screen, and all of it once back, without waiting for a check (a minute away
# here). xdotool moves the stand-in panel, which no window manager holds.
set -euo pipefail
source "$(dirname "$0")/desktop.sh"
desktop_init 60
visible_rows=8

desktop_start_xvfb
desktop_start_panel
desktop_start_compositor
write_defaults '<key>Shown Settings</key><true/>' '<key>Menu Bar State Check Interval</key><real>60</real>'
desktop_start_awning
wait_until 20 tint_shown "$PANEL_HEIGHT" || fail "no tint over the panel"

for y in -4 -8 -12 -16 "$((visible_rows - PANEL_HEIGHT))"; do
    xdotool windowmove "$PANEL_WINDOW" 0 "$y"
done
wait_until 3 tint_shown "$visible_rows" || {
    TINT_VERBOSE=1 tint_matches 0 "$visible_rows" 0.2
    fail "the tint did not follow the panel sliding away"
}
log "the tint covers the panel's last $visible_rows rows"
for y in -12 -6 0; do
    xdotool windowmove "$PANEL_WINDOW" 0 "$y"
done
wait_until 3 tint_shown "$PANEL_HEIGHT" || fail "the tint did not follow the panel back"
log "pass"
