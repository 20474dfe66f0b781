#!/usr/bin/env bash
# A panel told to bypass the window manager (polybar's override-redirect, common with tiling managers)
# is not in the manager's list, yet it is the panel the tint covers.
set -euo pipefail
source "$(dirname "$0")/desktop.sh"
desktop_init 60

desktop_start_xvfb
desktop_start_openbox
desktop_spawn panel "$AWNING_DEMO_PANEL" --color "$PANEL_COLOR" --height "$PANEL_HEIGHT" --override-redirect
wait_until 10 grep -q '^ready' "$DESKTOP_DIR/panel.out" || fail "panel did not start"
xdotool mousemove "$((DESKTOP_WIDTH / 2))" "$((DESKTOP_HEIGHT - 40))"
desktop_start_compositor
write_defaults '<key>Shown Settings</key><true/>' '<key>Menu Bar State Check Interval</key><real>0.5</real>'
desktop_start_awning
wait_until 20 tint_shown "$PANEL_HEIGHT" || fail "no tint over the panel that bypasses the window manager"
log "pass"
