#!/usr/bin/env bash
# A window manager replaced while Awning runs (`--replace`, as after a desktop update) leaves the tint in
# place, or brings it back, without a restart; so does a manager that drops its check window from the root,
# and one that quits, handing the panel back to the root above the tint.
set -euo pipefail
source "$(dirname "$0")/desktop.sh"
desktop_init 60

desktop_start_xvfb
desktop_start_openbox
desktop_start_panel
desktop_start_compositor
write_defaults '<key>Shown Settings</key><true/>'
desktop_start_awning
wait_until 20 tint_shown "$PANEL_HEIGHT" || fail "no tint under openbox"

desktop_spawn openbox-again openbox --config-file /dev/null --replace
replacement=$SPAWNED_PID
nap 1
wait_until 10 tint_shown "$PANEL_HEIGHT" || fail "no tint after the window manager was replaced"
log "tint kept after the window manager was replaced"

xprop -root -remove _NET_SUPPORTING_WM_CHECK
nap 2.5
tint_shown "$PANEL_HEIGHT" || fail "the tint went with the root's check window"
log "tint kept without the check window"

stop_pid "$replacement"
nap 0.5
wait_until 5 tint_shown "$PANEL_HEIGHT" || fail "the tint stayed under the panel handed back to the root"
log "pass"
