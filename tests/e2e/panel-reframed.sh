#!/usr/bin/env bash
# A window manager that replaces another takes the panel into a frame of its own and maps or raises that
# frame over the tint. The frame is watched from the moment the panel enters it, so the tint is raised over
# it at once, not at the next check (a minute away here). xprop and xdotool stand in for the manager: its
# check window and client lists on the root, the reparenting and the raise.
set -euo pipefail
source "$(dirname "$0")/desktop.sh"
desktop_init 60
frame_color=3c7a46

desktop_start_xvfb
# The frame-to-be: an ordinary window across the top edge, below the panel and Awning.
desktop_spawn frame "$AWNING_DEMO_PANEL" --normal --color "$frame_color" --height "$PANEL_HEIGHT"
wait_until 10 grep -q '^ready' "$DESKTOP_DIR/frame.out" || fail "the frame window did not start"
frame=$(awk '/^ready/ { print $2; exit }' "$DESKTOP_DIR/frame.out")
desktop_start_panel
xprop -id "$frame" -f _NET_SUPPORTING_WM_CHECK 32x -set _NET_SUPPORTING_WM_CHECK "$frame"
xprop -root -f _NET_SUPPORTING_WM_CHECK 32x -set _NET_SUPPORTING_WM_CHECK "$frame"
for list in _NET_CLIENT_LIST _NET_CLIENT_LIST_STACKING; do
    xprop -root -f "$list" 32x -set "$list" "$PANEL_WINDOW"
done
desktop_start_compositor
write_defaults '<key>Shown Settings</key><true/>' '<key>Menu Bar State Check Interval</key><real>60</real>'
desktop_start_awning
wait_until 20 tint_shown "$PANEL_HEIGHT" || fail "no tint over the panel"

xdotool windowreparent "$PANEL_WINDOW" "$frame"
# Apart from the reparenting, so that a raise made for that one is spent before the frame comes up.
nap 0.5
xdotool windowraise "$frame"
wait_until 3 tint_shown "$PANEL_HEIGHT" || fail "the tint stayed under the panel's new frame"
log "pass"
