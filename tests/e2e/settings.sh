#!/usr/bin/env bash
# The settings window at work: it opens at the first start; a click on the idle slider with Shift held
# stores both opacities and the tint takes the new one; the start-at-login check box adds and removes
# the autostart entry; a second launch brings the window to the front and ends.
set -euo pipefail
source "$(dirname "$0")/desktop.sh"
desktop_init 60

# Where the Settings interface file puts things, in points from the window's lower-left corner.
SLIDER_LEFT=180 SLIDER_RIGHT=440 IDLE_SLIDER_BOTTOM=172 ROW_HEIGHT=24
CHECK_BOX_LEFT=180 CHECK_BOX_BOTTOM=58

settings_window() { xdotool search --onlyvisible --name '^Awning Settings$' 2>/dev/null | head -n 1; }
settings_shown() { [[ -n $(settings_window) ]]; }

# stored KEY: the real stored under KEY in the defaults file, or nothing.
stored() {
    awk -v key="<key>$1</key>" '
        found { if (match($0, /<real>[^<]*<\/real>/)) print substr($0, RSTART + 6, RLENGTH - 13); exit }
        index($0, key) { found = 1 }' "$DESKTOP_DIR/config/awning/com.larkspur.Awning.plist" 2>/dev/null
}
both_opacities_stored() {
    local idle hover
    idle=$(stored "Idle Alpha") hover=$(stored "Hover Alpha")
    [[ -n $idle && $idle == "$hover" ]]
}

# click_in_settings X Y [KEY]: a click at kit point (X, Y) of the settings window, KEY held if given.
click_in_settings() {
    local X Y WIDTH HEIGHT WINDOW SCREEN
    eval "$(xdotool getwindowgeometry --shell "$(settings_window)")"
    # From the bottom: the content sits under the window's menu bar.
    local x=$((X + $1)) y=$((Y + HEIGHT - $2))
    if [[ -n ${3:-} ]]; then
        xdotool mousemove "$x" "$y" keydown "$3" click 1 keyup "$3"
    else
        xdotool mousemove "$x" "$y" click 1
    fi
}

desktop_start_xvfb
desktop_start_panel
desktop_start_compositor
# The "Hi!" popover of a first start would lie over the sliders: this version has shown it already.
version=$("$AWNING" --version | awk '{ print $2 }')
write_defaults "<key>KRAdButtonWindowAppVersion</key><string>$version</string>"
desktop_start_awning
wait_until 20 settings_shown || fail "the settings window did not open at the first start"
wait_until 20 tint_shown "$PANEL_HEIGHT" 0.2 || fail "no tint at the default idle opacity"
log "settings window $(settings_window) open"
eval "$(xdotool getwindowgeometry --shell "$(settings_window)")"
((HEIGHT > 330)) || fail "no menu bar above the settings window's 330-point content (height $HEIGHT)"
log "the application menu's bar is shown above the content"

# Three quarters along the idle slider's track, Shift held: the slider jumps there.
click_in_settings "$((SLIDER_LEFT + (SLIDER_RIGHT - SLIDER_LEFT) * 3 / 4))" \
    "$((IDLE_SLIDER_BOTTOM + ROW_HEIGHT / 2))" shift
wait_until 5 both_opacities_stored || fail "Shift did not store both opacities: $(stored 'Idle Alpha') $(stored 'Hover Alpha')"
alpha=$(stored "Idle Alpha")
awk -v a="$alpha" 'BEGIN { exit !(a > 0.6 && a < 0.9) }' || fail "idle opacity $alpha is not where the click was"
wait_until 5 tint_shown "$PANEL_HEIGHT" "$alpha" || {
    TINT_VERBOSE=1 tint_matches 0 "$PANEL_HEIGHT" "$alpha"
    fail "the tint did not take the new opacity $alpha"
}
log "idle and hover opacity $alpha stored and shown"

entry=$DESKTOP_DIR/config/autostart/awning.desktop
click_in_settings "$((CHECK_BOX_LEFT + 8))" "$((CHECK_BOX_BOTTOM + ROW_HEIGHT / 2))"
wait_until 5 test -f "$entry" || fail "ticking the check box made no autostart entry"
click_in_settings "$((CHECK_BOX_LEFT + 8))" "$((CHECK_BOX_BOTTOM + ROW_HEIGHT / 2))"
wait_until 5 test ! -e "$entry" || fail "unticking the check box left the autostart entry"
log "start at login added and removed"

# Another window in front with the keyboard; a second launch brings the settings window back and ends.
window=$(settings_window)
# front_of_panel: the settings window lies above the panel and has the keyboard.
front_of_panel() {
    local frontmost
    frontmost=$(xwininfo -root -children | awk '/^ +0x/ { print $1 }' |
        grep -m 1 -x -e "$(printf '0x%x' "$window")" -e "$PANEL_WINDOW")
    [[ $frontmost == "$(printf '0x%x' "$window")" && $(xdotool getwindowfocus) == "$window" ]]
}
xdotool windowraise "$PANEL_WINDOW" windowfocus "$PANEL_WINDOW"
! front_of_panel || fail "the panel did not come in front of the settings window"
desktop_launch_again
wait_until 5 front_of_panel || fail "a second launch left the settings window behind"
[[ $(settings_window) == "$window" ]] || fail "a second launch made another settings window"
log "pass"
