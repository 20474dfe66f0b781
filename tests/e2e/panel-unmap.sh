#!/usr/bin/env bash
# The tint goes with the panel at the next check and comes back when the panel does, or when a window
# declares itself a dock once it is up, or stops being one (no window manager runs: the properties of the
# root's children are watched all the same); a panel mapped over the tint gets the tint raised over it.
set -euo pipefail
source "$(dirname "$0")/desktop.sh"
desktop_init 60

desktop_with_tint '<key>Menu Bar State Check Interval</key><real>0.5</real>'

gone() { no_strip_window && strip_plain "$PANEL_HEIGHT" "$ROOT_COLOR"; }
for round in 1 2; do
    xdotool windowunmap "$PANEL_WINDOW"
    start=$(now)
    wait_until 5 gone || fail "tint stayed after the panel was unmapped (round $round)"
    log "tint removed after $(elapsed_since "$start")s"

    xdotool windowmap "$PANEL_WINDOW"
    start=$(now)
    wait_until 5 tint_shown "$PANEL_HEIGHT" || fail "tint did not return with the panel (round $round)"
    log "tint back after $(elapsed_since "$start")s"
done

window_type() { xprop -id "$1" -f _NET_WM_WINDOW_TYPE 32a -set _NET_WM_WINDOW_TYPE "_NET_WM_WINDOW_TYPE_$2"; }
window_type "$PANEL_WINDOW" NORMAL
wait_until 5 no_strip_window || fail "tint stayed over a window that is no longer a dock"
window_type "$PANEL_WINDOW" DOCK
wait_until 5 tint_shown "$PANEL_HEIGHT" || fail "tint did not follow the window declaring itself a dock"
# The same for a window that came after Awning started.
stop_pid "$PANEL_PID"
desktop_spawn later "$AWNING_DEMO_PANEL" --color "$PANEL_COLOR" --height "$PANEL_HEIGHT"
wait_until 10 grep -q '^ready' "$DESKTOP_DIR/later.out" || fail "the later panel did not start"
wait_until 5 tint_shown "$PANEL_HEIGHT" || fail "no tint over the later panel"
window_type "$(awk '/^ready/ { print $2; exit }' "$DESKTOP_DIR/later.out")" NORMAL
wait_until 5 no_strip_window || fail "tint stayed over a later window that is no longer a dock"
# A second panel with the same bounds mapped over the tint is taken in its place: the tint, its frame
# unchanged, is raised over it.
window_type "$(awk '/^ready/ { print $2; exit }' "$DESKTOP_DIR/later.out")" DOCK
wait_until 5 tint_shown "$PANEL_HEIGHT" || fail "no tint over the later panel, a dock again"
desktop_spawn over "$AWNING_DEMO_PANEL" --color "$PANEL_COLOR" --height "$PANEL_HEIGHT"
wait_until 10 grep -q '^ready' "$DESKTOP_DIR/over.out" || fail "the panel over the tint did not start"
wait_until 5 tint_shown "$PANEL_HEIGHT" || fail "the tint stayed under a panel mapped over it"
log "pass"
