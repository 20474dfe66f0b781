#!/usr/bin/env bash
# Without a compositing manager a translucent tint would be a black strip: there is none, the log says
# why once, and the tint follows a compositor that starts or stops later without waiting for a check.
set -euo pipefail
source "$(dirname "$0")/desktop.sh"
desktop_init 60

# Well within the default check period of 2 s: only the compositor's own coming and going can be that quick.
limit=1.5
message='No compositing manager runs'

desktop_start_xvfb
desktop_start_panel
write_defaults '<key>Shown Settings</key><true/>'
desktop_start_awning
wait_until 10 grep -q "$message" "$DESKTOP_DIR/awning.err" || fail "no word of the missing compositor"
nap 0.5
no_strip_window || fail "a tint window is shown without a compositor"
strip_plain "$PANEL_HEIGHT" "$PANEL_COLOR" || fail "the panel's own pixels did not stay"

start=$(now)
desktop_start_compositor
compositor=$SPAWNED_PID
wait_until 5 tint_shown "$PANEL_HEIGHT" || fail "no tint once a compositor runs"
took=$(elapsed_since "$start")
log "tint shown ${took}s after the compositor started"
awk -v t="$took" -v l="$limit" 'BEGIN { exit !(t <= l) }' || fail "the tint took ${took}s (limit ${limit}s)"

start=$(now)
stop_pid "$compositor"
wait_until 5 no_strip_window || fail "the tint stayed after the compositor stopped"
took=$(elapsed_since "$start")
log "tint gone ${took}s after the compositor stopped"
awk -v t="$took" -v l="$limit" 'BEGIN { exit !(t <= l) }' || fail "the tint went after ${took}s (limit ${limit}s)"
strip_plain "$PANEL_HEIGHT" "$PANEL_COLOR" || fail "the panel's own pixels did not come back"
[[ $(grep -c "$message" "$DESKTOP_DIR/awning.err") -eq 2 ]] || fail "the log line is not said once per absence"
log "pass"
