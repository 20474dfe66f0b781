#!/usr/bin/env bash
# GNOME Shell on Wayland: Awning tints the top bar through its shell extension. The bar's rows take the
# gradient at the idle opacity and the row below stays as it was; the pointer on the bar fades the tint to
# the hover opacity and off it back; a full-screen window hides it; quitting Awning or disabling the
# extension takes it away, and starting Awning again or enabling the extension brings it back; without
# the extension Awning says what to run; a drag in the settings window reaches the bar.
set -euo pipefail
source "$(dirname "$0")/gnome.sh"
gnome_init 80

remember_below_bar
strip_plain "$PANEL_HEIGHT" "$PANEL_COLOR" || fail "the bar is not plain $PANEL_COLOR before Awning starts"

# The "Hi!" popover of a first start would lie over the sliders: this version has shown it already.
write_defaults '<key>Shown Settings</key><true/>' '<key>Hover Alpha</key><real>0.6</real>' \
    "<key>KRAdButtonWindowAppVersion</key><string>$("$AWNING" --version | awk '{ print $2 }')</string>"
gnome_start_awning
wait_until 20 tint_shown "$PANEL_HEIGHT" || fail "the bar is not tinted at the idle opacity"
log "tint shown at the idle opacity"

pointer_to 300 "$((PANEL_HEIGHT / 2))"
wait_until 10 tint_shown "$PANEL_HEIGHT" 0.6 || fail "the tint does not fade to the hover opacity"
pointer_to 300 400
wait_until 10 tint_shown "$PANEL_HEIGHT" || fail "the tint does not fade back off the bar"
log "hover: in and out"

desktop_spawn fullscreen env GDK_BACKEND=wayland gjs "$AWNING_SOURCE_DIR/tests/e2e/gnome/fullscreen.js"
fullscreen=$SPAWNED_PID
# The window covers the bar's rows: every one of them is the colour below them.
covered() {
    shoot || return 1
    local below
    below=$(pixel 300 "$((PANEL_HEIGHT + 10))")
    column 300 0 "$PANEL_HEIGHT" | awk -v want="$below" '{ if ($2 " " $3 " " $4 != want) bad = 1 } END { exit bad }'
}
wait_until 10 covered || fail "the full-screen window does not cover the bar, or the tint stays over it"
stop_pid "$fullscreen"
wait_until 10 tint_shown "$PANEL_HEIGHT" || fail "the tint does not come back after full screen"
log "full screen hides it"

stop_pid "$AWNING_PID"
wait_until 10 strip_plain "$PANEL_HEIGHT" "$PANEL_COLOR" || fail "the tint stays after Awning quit"
gnome_start_awning again
wait_until 20 tint_shown "$PANEL_HEIGHT" || fail "Awning started again does not tint"
log "quitting takes it away, starting again brings it back"

extension_enabled false
wait_until 10 strip_plain "$PANEL_HEIGHT" "$PANEL_COLOR" || fail "the tint stays with the extension disabled"
instruction="gnome-extensions enable $EXTENSION"
wait_until 10 grep -qF "$instruction" "$DESKTOP_DIR/again.err" ||
    fail "Awning does not say how to enable its extension"
status=$(env QT_QPA_PLATFORM=wayland "$AWNING" --status) || true
grep -qF "$instruction" <<<"$status" || fail "--status does not say how to enable the extension: $status"
extension_enabled true
wait_until 20 tint_shown "$PANEL_HEIGHT" || fail "enabling the extension again does not bring the tint back"
log "disabling the extension takes it away and says what to run; enabling brings it back"
# The settings window, brought forward by a second launch: a drag of the idle slider reaches the bar.
env QT_QPA_PLATFORM=wayland "$AWNING" || fail "a second launch exited with status $?"
wait_until 10 eval '[[ -n $(window_frame "Awning Settings") ]]' || fail "a second launch shows no settings window"
read -r x y width height <<<"$(window_frame "Awning Settings")"
# Where the Settings interface file puts the idle slider, in points from the content's lower-left corner.
SLIDER_LEFT=180 SLIDER_RIGHT=440 IDLE_SLIDER_BOTTOM=172 ROW_HEIGHT=24
row=$((y + height - IDLE_SLIDER_BOTTOM - ROW_HEIGHT / 2))
pointer_drag "$((x + SLIDER_LEFT + (SLIDER_RIGHT - SLIDER_LEFT) / 5))" "$row" \
    "$((x + SLIDER_LEFT + (SLIDER_RIGHT - SLIDER_LEFT) * 3 / 4))" "$row"
wait_until 5 eval '[[ -n $(stored "Idle Alpha") ]]' || fail "the drag stored no idle opacity"
alpha=$(stored "Idle Alpha")
awk -v a="$alpha" 'BEGIN { exit !(a > 0.6 && a < 0.9) }' || fail "idle opacity $alpha is not where the drag ended"
wait_until 5 tint_shown "$PANEL_HEIGHT" "$alpha" || fail "the bar did not take the new idle opacity $alpha"
log "the settings window's idle opacity $alpha reached the bar"
log "pass"
