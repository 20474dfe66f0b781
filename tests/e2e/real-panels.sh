#!/usr/bin/env bash
# Real panels from the distribution rather than the stand-in, each started with a config written here:
# tint2 at the top, full width and half width; polybar bypassing the window manager; tint2 at the
# bottom, which is no menu bar and stays untinted; and, where xfwm4 is installed, the top tint2 again
# while xfwm4 replaces both openbox and the compositing manager.
set -euo pipefail
source "$(dirname "$0")/desktop.sh"
desktop_init 60
desktop_require tint2 polybar openbox

half=$((DESKTOP_WIDTH / 2))
quarter=$((DESKTOP_WIDTH / 4))
# Panels write their own files under HOME when they miss one: keep them in the run's folder.
mkdir -p "$DESKTOP_DIR/home"
panel_env=(env HOME="$DESKTOP_DIR/home" XDG_CONFIG_HOME="$DESKTOP_DIR/config" XDG_CACHE_HOME="$DESKTOP_DIR/cache")

# visible_window CLASSNAME: the first mapped window of that instance name.
visible_window() { xdotool search --onlyvisible --classname "^$1\$" 2>/dev/null | head -n 1; }
window_shown() { [[ -n $(visible_window "$1") ]]; }

# start_tint2 NAME WIDTH POSITION: a flat panel of PANEL_HEIGHT rows, WIDTH wide ("100%", "50%"),
# centred at POSITION ("top", "bottom"); sets PANEL_PID.
start_tint2() {
    local config="$DESKTOP_DIR/$1.tint2rc"
    cat >"$config" <<RC
rounded = 0
border_width = 0
background_color = #$PANEL_COLOR 100
border_color = #000000 0

panel_items =
panel_position = $3 center horizontal
panel_size = $2 $PANEL_HEIGHT
panel_margin = 0 0
panel_padding = 0 0 0
panel_background_id = 1
panel_layer = top
strut_policy = follow_size
disable_transparency = 1
wm_menu = 0
RC
    desktop_spawn "$1" "${panel_env[@]}" tint2 -c "$config"
    PANEL_PID=$SPAWNED_PID
    wait_until 20 window_shown tint2 || fail "$1 did not start"
}

# start_polybar: a one-module bar at the top that bypasses the window manager; sets PANEL_PID.
start_polybar() {
    local config="$DESKTOP_DIR/polybar.ini"
    cat >"$config" <<INI
[bar/top]
width = 100%
height = $PANEL_HEIGHT
background = #$PANEL_COLOR
foreground = #$PANEL_COLOR
override-redirect = true
font-0 = DejaVu Sans:size=10
modules-center = blank

[module/blank]
type = custom/text
content = " "
INI
    desktop_spawn polybar "${panel_env[@]}" polybar --config="$config" top
    PANEL_PID=$SPAWNED_PID
    wait_until 20 window_shown polybar || fail "polybar did not start"
}

awning_env
status_says() { "${AWNING_ENV[@]}" "$AWNING" --status 2>/dev/null | grep -qxF "$1"; }

# panel_named CLASSNAME CLASS GEOMETRY: `awning --status` takes the panel's mapped window as the panel.
panel_named() {
    local id
    id=$(visible_window "$1")
    [[ -n $id ]] && status_says "$(printf 'Panel: window 0x%x, class "%s", %s' "$id" "$2" "$3")"
}

# column_plain X LAST COLOR: rows 0 to LAST of column X in the last screenshot are COLOR.
column_plain() {
    column "$1" 0 "$2" | awk -v want="$3" "$AWK_LIB"'{
        for (c = 0; c < 3; c++) {
            d = $(c + 2) - hex(substr(want, 2 * c + 1, 2))
            if (d > 2 || -d > 2) bad = 1
        }
    }
    END { exit bad }'
}

# The half-width panel's first and last columns are tinted; the columns just beside it and at the
# screen's edges keep the desktop's colour.
half_tinted_exactly() {
    local x
    shoot || return 1
    for x in "$quarter" "$((quarter + half - 1))"; do
        tint_matches "$x" "$PANEL_HEIGHT" 0.2 || return 1
    done
    for x in 0 "$((quarter - 1))" "$((quarter + half))" "$((DESKTOP_WIDTH - 1))"; do
        column_plain "$x" "$PANEL_HEIGHT" "$ROOT_COLOR" || return 1
    done
}

desktop_start_xvfb
desktop_start_openbox
start_tint2 tint2-top 100% top
xdotool mousemove "$half" "$((DESKTOP_HEIGHT / 2))"
desktop_start_compositor
compositor=$SPAWNED_PID
write_defaults '<key>Shown Settings</key><true/>' '<key>Menu Bar State Check Interval</key><real>0.5</real>'
desktop_start_awning
wait_until 20 tint_shown "$PANEL_HEIGHT" || fail "no tint over the top tint2"
wait_until 5 panel_named tint2 Tint2 "${DESKTOP_WIDTH}x$PANEL_HEIGHT at 0,0" || fail "tint2 is not named as the panel"
log "top tint2 tinted exactly and named"

stop_pid "$PANEL_PID"
start_tint2 tint2-half 50% top
wait_until 10 panel_named tint2 Tint2 "${half}x$PANEL_HEIGHT at $quarter,0" || fail "the half-width tint2 is not named"
wait_until 5 half_tinted_exactly || fail "the half-width tint2 is not tinted exactly"
log "half-width tint2 tinted exactly"

# polybar comes up while the tint over the half-width tint2 may still be there: the tint must end above it.
stop_pid "$PANEL_PID"
start_polybar
xwininfo -id "$(visible_window polybar)" | grep -q 'Override Redirect State: yes' ||
    fail "polybar did not bypass the window manager"
wait_until 10 tint_shown "$PANEL_HEIGHT" || fail "no tint over polybar"
wait_until 5 panel_named polybar Polybar "${DESKTOP_WIDTH}x$PANEL_HEIGHT at 0,0" || fail "polybar is not named"
log "polybar tinted and named"
# A panel that raises itself over the tint gets the tint raised over it again.
xdotool windowraise "$(visible_window polybar)"
wait_until 5 tint_shown "$PANEL_HEIGHT" || fail "the tint stayed under polybar raised over it"
log "tint raised again over polybar"

stop_pid "$PANEL_PID"
wait_until 5 no_strip_window || fail "the tint stayed after polybar quit"
start_tint2 tint2-bottom 100% bottom
# Two check periods with the bottom panel in place.
nap 1.2
status_says "Panel: none (no top panel on the primary screen, or a full-screen window covers it)" ||
    fail "the bottom tint2 was taken as the panel"
status_says "Tint: not shown" || fail "a tint is shown with only a bottom panel"
shoot
for x in 0 "$half" "$((DESKTOP_WIDTH - 1))"; do
    column_plain "$x" "$PANEL_HEIGHT" "$ROOT_COLOR" || fail "the top of the desktop got darker"
    column "$x" "$((DESKTOP_HEIGHT - PANEL_HEIGHT))" "$((DESKTOP_HEIGHT - 1))" | cut -d' ' -f2- |
        while read -r rgb; do near "$rgb" "$PANEL_COLOR" 2 || exit 1; done || fail "the bottom tint2 got darker"
done
log "bottom tint2 left alone"

if ! command -v xfwm4 >/dev/null || ! command -v dbus-daemon >/dev/null; then
    log "pass (xfwm4 or dbus-daemon is not installed: the window manager replacement was not run)"
    exit 0
fi
stop_pid "$PANEL_PID"
start_tint2 tint2-again 100% top
wait_until 10 tint_shown "$PANEL_HEIGHT" || fail "no tint over the top tint2 started again"
# xfwm4 keeps its settings behind a session bus; without one it runs with half its defaults.
desktop_spawn dbus "${panel_env[@]}" dbus-daemon --session --nofork --address="unix:path=$DESKTOP_DIR/bus"
wait_until 5 test -S "$DESKTOP_DIR/bus" || fail "the session bus did not start"
stop_pid "$compositor"
wait_until 5 no_strip_window || fail "the tint stayed after the compositing manager quit"
desktop_spawn xfwm4 "${panel_env[@]}" DBUS_SESSION_BUS_ADDRESS="unix:path=$DESKTOP_DIR/bus" xfwm4 --replace
# xfwm4 composites by itself and paints the root black.
ROOT_COLOR=000000 wait_until 15 tint_shown "$PANEL_HEIGHT" || fail "no tint once xfwm4 replaced openbox and xcompmgr"
# Until something restacks, xfwm4 lists its windows in mapping order only; tint2 is named all the same.
wait_until 5 panel_named tint2 Tint2 "${DESKTOP_WIDTH}x$PANEL_HEIGHT at 0,0" || fail "tint2 is not named under xfwm4"
log "tint back under xfwm4"
log "pass"
