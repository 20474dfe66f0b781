#!/usr/bin/env bash
# Clicks on the tinted strip reach the panel beneath, at idle and at hover opacity alike.
set -euo pipefail
source "$(dirname "$0")/desktop.sh"
desktop_init 60

desktop_with_tint '<key>Menu Bar State Check Interval</key><real>0.5</real>'
[[ -n $(awning_strip_windows) ]] || fail "no tint window over the panel"

clicked() { grep -qx "click $1 $2" "$DESKTOP_DIR/panel.out"; }

xdotool mousemove 100 "$((PANEL_HEIGHT - 3))" click 1
wait_until 5 clicked 100 "$((PANEL_HEIGHT - 3))" || fail "click at idle opacity did not reach the panel"

wait_until 5 strip_plain "$PANEL_HEIGHT" "$PANEL_COLOR" || fail "tint did not fade while hovering"
[[ -n $(awning_strip_windows) ]] || fail "tint window gone while hovering"
xdotool mousemove 300 4 click 1
wait_until 5 clicked 300 4 || fail "click at hover opacity did not reach the panel"
log "pass"
