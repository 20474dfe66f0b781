#!/usr/bin/env bash
# When the panel changes height the tint follows within one check period plus one layout period.
set -euo pipefail
source "$(dirname "$0")/desktop.sh"
desktop_init 60

desktop_with_tint '<key>Menu Bar State Check Interval</key><real>0.5</real>'

# 0.5 s check + 0.2 s layout, with room for screenshots on a loaded machine.
limit=2.0
follow() {
    local height=$1 start took
    kill -USR1 "$PANEL_PID"
    wait_until 5 eval '[[ $(grep "^height" "$DESKTOP_DIR/panel.out" | tail -n 1) == "height $height" ]]' ||
        fail "panel did not resize"
    start=$(now)
    wait_until 5 tint_shown "$height" || {
        TINT_VERBOSE=1 tint_matches 0 "$height" 0.2
        fail "tint did not follow the panel to height $height"
    }
    took=$(elapsed_since "$start")
    log "tint follows height $height after ${took}s"
    awk -v t="$took" -v l="$limit" 'BEGIN { exit !(t <= l) }' || fail "took ${took}s (limit ${limit}s)"
}
follow "$PANEL_TALL_HEIGHT"
follow "$PANEL_HEIGHT"
log "pass"
