#!/usr/bin/env bash
# A panel told to bypass the window manager (polybar's override-redirect, common with tiling managers)
# is not in the manager's list, yet it is the panel the tint covers; one that appears later is taken once it
# has stayed a moment, as a panel does and a menu sliding in does not.
set -euo pipefail
source "$(dirname "$0")/desktop.sh"
desktop_init 60

desktop_start_xvfb
desktop_start_openbox
desktop_spawn panel "$AWNING_DEMO_PANEL" --color "$PANEL_COLOR" --height "$PANEL_HEIGHT" --override-redirect
panel_pid=$SPAWNED_PID
wait_until 10 grep -q '^ready' "$DESKTOP_DIR/panel.out" || fail "panel did not start"
xdotool mousemove "$((DESKTOP_WIDTH / 2))" "$((DESKTOP_HEIGHT - 40))"
desktop_start_compositor
write_defaults '<key>Shown Settings</key><true/>' '<key>Menu Bar State Check Interval</key><real>0.5</real>'
desktop_start_awning
wait_until 20 tint_shown "$PANEL_HEIGHT" || fail "no tint over the panel that bypasses the window manager"

# A bar with no window type, bypassing the manager, that comes later: a menu could look like it, so it is
# taken only once it has stayed through a check.
stop_pid "$panel_pid"
wait_until 5 no_strip_window || fail "the tint stayed after the panel went"
desktop_spawn untyped "$AWNING_DEMO_PANEL" --color "$PANEL_COLOR" --height "$PANEL_HEIGHT" --override-redirect --normal
wait_until 10 grep -q '^ready' "$DESKTOP_DIR/untyped.out" || fail "the untyped bar did not start"
nap 0.8
no_strip_window || fail "a bar that just appeared was taken for a panel at once"
wait_until 10 tint_shown "$PANEL_HEIGHT" || fail "no tint over the bar that stayed"
log "pass"
