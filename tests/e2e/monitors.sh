#!/usr/bin/env bash
# Two monitors side by side (Xorg's dummy driver: Xvfb ignores monitor layouts). The menu bar lives on the
# primary monitor only: a panel on the other one gives no tint anywhere, although the window manager's one
# work area for the whole screen reserves a top strip; a panel on the primary is tinted exactly.
set -euo pipefail
source "$(dirname "$0")/desktop.sh"
desktop_init 60
desktop_require Xorg xrandr openbox
[[ -e /usr/lib/xorg/modules/drivers/dummy_drv.so && $(id -u) -eq 0 ]] || {
    echo "skipped: needs Xorg's dummy driver and root" >&2
    exit 77
}

monitor=$DESKTOP_WIDTH
cat >"$DESKTOP_DIR/xorg.conf" <<CONF
Section "Device"
    Identifier "dummy"
    Driver "dummy"
    VideoRam 65536
EndSection
Section "Monitor"
    Identifier "monitor"
    HorizSync 5.0-1000.0
    VertRefresh 5.0-200.0
    Modeline "two" 40.0 $((2 * monitor)) $((2 * monitor + 20)) $((2 * monitor + 40)) $((2 * monitor + 60)) $DESKTOP_HEIGHT $((DESKTOP_HEIGHT + 2)) $((DESKTOP_HEIGHT + 4)) $((DESKTOP_HEIGHT + 6))
EndSection
Section "Screen"
    Identifier "screen"
    Device "dummy"
    Monitor "monitor"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Modes "two"
        Virtual $((2 * monitor)) $DESKTOP_HEIGHT
    EndSubSection
EndSection
CONF
mkdir -p "$DESKTOP_DIR/xorg.d"
desktop_spawn xorg Xorg -config "$DESKTOP_DIR/xorg.conf" -configdir "$DESKTOP_DIR/xorg.d" \
    -logfile "$DESKTOP_DIR/xorg.log" -noreset -nolisten tcp -displayfd 3 3>"$DESKTOP_DIR/display"
wait_until 10 grep -q . "$DESKTOP_DIR/display" || fail "Xorg did not start"
DISPLAY=":$(head -n 1 "$DESKTOP_DIR/display")"
export DISPLAY
output=$(xrandr --listmonitors | awk 'NR == 2 { print $NF }')
xrandr --setmonitor primary "$monitor/160x$DESKTOP_HEIGHT/120+0+0" "$output" >/dev/null
xrandr --setmonitor other "$monitor/160x$DESKTOP_HEIGHT/120+$monitor+0" none >/dev/null
log "Xorg on $DISPLAY with two monitors of ${monitor}x$DESKTOP_HEIGHT"

desktop_spawn openbox openbox --config-file /dev/null
wait_until 10 xprop -root _NET_WORKAREA >/dev/null 2>&1 || fail "openbox did not start"
desktop_spawn other-panel "$AWNING_DEMO_PANEL" --color "$PANEL_COLOR" --height "$PANEL_HEIGHT" --x "$monitor" \
    --width "$monitor"
wait_until 10 grep -q '^ready' "$DESKTOP_DIR/other-panel.out" || fail "panel did not start"
xdotool mousemove "$((monitor / 2))" "$((DESKTOP_HEIGHT - 40))"
desktop_spawn xcompmgr xcompmgr
write_defaults '<key>Shown Settings</key><true/>' '<key>Menu Bar State Check Interval</key><real>0.5</real>'
desktop_start_awning
wait_until 10 grep -q '^ready' "$DESKTOP_DIR/other-panel.out"
nap 2
[[ -z $(xdotool search --onlyvisible --pid "$AWNING_PID" 2>/dev/null) ]] ||
    fail "a tint is shown although the only panel is on the other monitor"
log "no tint for a panel on the other monitor"
# Older docks reserve the top with the plain strut alone.
other=$(awk '/^ready/ { print $2; exit }' "$DESKTOP_DIR/other-panel.out")
strut=$(xprop -id "$other" _NET_WM_STRUT_PARTIAL | sed 's/.*= //; s/, /,/g' | cut -d, -f1-4)
xprop -id "$other" -f _NET_WM_STRUT 32c -set _NET_WM_STRUT "$strut"
xprop -id "$other" -remove _NET_WM_STRUT_PARTIAL
nap 1.2
[[ -z $(xdotool search --onlyvisible --pid "$AWNING_PID" 2>/dev/null) ]] ||
    fail "a tint is shown for a panel on the other monitor that reserves the top with the plain strut"

PANEL_WINDOW=
desktop_spawn panel "$AWNING_DEMO_PANEL" --color "$PANEL_COLOR" --height "$PANEL_HEIGHT" --width "$monitor"
wait_until 10 grep -q '^ready' "$DESKTOP_DIR/panel.out" || fail "primary panel did not start"
wait_until 10 tint_shown "$PANEL_HEIGHT" || fail "no tint over the primary monitor's panel"
[[ $(awning_strip_windows | wc -l) -eq 1 ]] || fail "the tint is not exactly the primary monitor's strip"
log "pass"
