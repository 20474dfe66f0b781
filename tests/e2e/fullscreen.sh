#!/usr/bin/env bash
# A full-screen window over the panel removes the tint well within one check period (2 s by default);
# closing it brings the tint back.
set -euo pipefail
source "$(dirname "$0")/desktop.sh"
desktop_init 60

desktop_with_tint
limit=1.0

fullscreen_color=3c7a46
desktop_spawn fullscreen "$AWNING_DEMO_PANEL" --fullscreen --color "$fullscreen_color"
fullscreen=$SPAWNED_PID
wait_until 10 grep -q '^ready' "$DESKTOP_DIR/fullscreen.out" || fail "full-screen window did not start"

start=$(now)
gone() { no_strip_window && strip_plain "$PANEL_HEIGHT" "$fullscreen_color"; }
wait_until 5 gone || fail "tint stayed over the full-screen window"
took=$(elapsed_since "$start")
log "tint removed after ${took}s"
awk -v t="$took" -v l="$limit" 'BEGIN { exit !(t <= l) }' || fail "the tint went after ${took}s (limit ${limit}s)"

stop_pid "$fullscreen"
start=$(now)
wait_until 5 tint_shown "$PANEL_HEIGHT" || fail "tint did not return after the full-screen window closed"
log "tint back after $(elapsed_since "$start")s"
log "pass"
