#!/usr/bin/env bash
# Awning on a Wayland compositor (sway or KWin, the first argument; SCALE=2 for a HiDPI output on sway) with
# waybar as its panel: the tint lies exactly over a top bar, in the output's own pixels, and lets its clicks
# through; it follows the bar hidden and shown (sway), quit and started again, at once, not a check period
# later; a full-screen window hides it, a bottom bar is never tinted, and --status tells why.
set -euo pipefail
source "$(dirname "$0")/wayland.sh"
wayland_init "${1:?usage: [SCALE=2] wayland-bar.sh sway|kwin}" 60
PERIOD=4.0
AT_ONCE=2.5  # the screenshots' own time included: well under a period
POINTS_WIDE=$((DESKTOP_WIDTH / SCALE))
POINTS_HIGH=$((DESKTOP_HEIGHT / SCALE))

# rows_plain FIRST LAST RRGGBB: the last screenshot shows those rows in that colour at three places across.
rows_plain() {
    local x
    for x in 0 "$((DESKTOP_WIDTH / 2))" "$((DESKTOP_WIDTH - 1))"; do
        column "$x" "$1" "$2" | awk -v want="$3" "$AWK_LIB"'{
            for (c = 0; c < 3; c++) {
                d = $(c + 2) - hex(substr(want, 2 * c + 1, 2))
                if (d > 2 || -d > 2) bad = 1
            }
        }
        END { exit bad }' || return 1
    done
}
top_plain() { shoot && rows_plain 0 "$((BAR_ROWS - 1))" "$1"; }
tinted() { tint_shown "$BAR_ROWS" && rows_plain "$BAR_ROWS" "$((BAR_ROWS + 40))" "$ROOT_COLOR"; }
# at_once WHAT COMMAND...: COMMAND comes true well within a check period.
at_once() {
    local what=$1 start
    shift
    start=$(now)
    wait_until "$AT_ONCE" "$@" || fail "$what"
    log "$what: after $(elapsed_since "$start") s"
}

wayland_start_compositor
wayland_start_bar top
wayland_start_awning awning "<key>Menu Bar State Check Interval</key><real>$PERIOD</real>"
wait_until 20 tinted || {
    TINT_VERBOSE=1 tint_matches 0 "$BAR_ROWS" 0.2
    fail "no tint exactly over the bar"
}
log "tinted over the bar, untouched below it"

report=$(awning_status) || fail "--status failed while Awning runs"
log "status:"$'\n'"$report"
for line in "^Compositor: (sway|kwin_wayland), process [0-9]+$" \
    "^Panel: $BAR_HEIGHT px reserved at the top of [A-Za-z0-9-]+ \\(${POINTS_WIDE}x$POINTS_HIGH\\)$" \
    "^Tint: ${POINTS_WIDE}x$BAR_HEIGHT at 0,0$" \
    "^Tint surface: ${POINTS_WIDE}x$BAR_HEIGHT on [A-Za-z0-9-]+, scale $SCALE, (top|overlay) layer" \
    "^Protocols: zwlr_layer_shell_v1 [0-9]+, xdg_wm_base [0-9]+, zwlr_foreign_toplevel_manager_v1 ([0-9]+|missing), wl_output [0-9]+, " \
    "^Hover: not known " "^Opacity: idle 0.20, hover 0.00, now 0.20$"; do
    grep -Eq "$line" <<<"$report" || fail "--status lacks $line"
done

driver click 8 "$((BAR_HEIGHT / 2))"
wait_until 5 test -e "$RUNTIME/bar-clicked" || fail "the click did not reach the bar's item"
log "the click reached the bar"

# A hidden waybar gives back its room and leaves its layer. sway then draws nothing of it; KWin keeps it in
# the bottom layer, where its strip is never redrawn and shows whatever was last there (the tint, or a
# full-screen window since closed), so on KWin the bar quits instead.
if [[ $COMPOSITOR == sway ]]; then
    kill -USR1 "$BAR_PID"
    at_once "the tint left with the hidden bar" top_plain "$ROOT_COLOR"
    kill -USR1 "$BAR_PID"
    at_once "the tint came back with the bar" tinted
fi
stop_pid "$BAR_PID"
at_once "the tint left with the bar that quit" top_plain "$ROOT_COLOR"
# A bar started again is made after the tint, and would lie over it but for the tint being made anew.
wayland_start_bar top
at_once "the tint lies over the bar started again" tinted

wayland_spawn full-screen "$AWNING_WAYLAND_DRIVER" full-screen ff00ff
FULL_SCREEN_PID=$SPAWNED_PID
wait_until 10 grep -q '^ready' "$DESKTOP_DIR/full-screen.out" || fail "the full-screen window did not show"
wait_until 5 top_plain ff00ff || fail "the tint or the bar lies over a full-screen window"
stop_pid "$FULL_SCREEN_PID"
at_once "the tint is back after full screen" tinted

if [[ $COMPOSITOR == sway ]]; then
    # Full screen on a second output leaves the first one's tint alone.
    as_user swaymsg create_output >/dev/null
    as_user swaymsg focus output HEADLESS-2 >/dev/null
    wayland_spawn full-screen-2 "$AWNING_WAYLAND_DRIVER" full-screen ff00ff
    FULL_SCREEN_PID=$SPAWNED_PID
    wait_until 10 grep -q '^ready' "$DESKTOP_DIR/full-screen-2.out" || fail "the second output's window did not show"
    nap 1
    tinted || fail "full screen on the second output took the first one's tint"
    stop_pid "$FULL_SCREEN_PID"
    log "full screen on another output leaves the tint"
fi

stop_pid "$BAR_PID"
wayland_start_bar bottom
at_once "no tint at the top with the bar at the bottom" top_plain "$ROOT_COLOR"
rows_plain "$((DESKTOP_HEIGHT - BAR_ROWS))" "$((DESKTOP_HEIGHT - 1))" "$PANEL_COLOR" || fail "the bottom bar is tinted"
grep -Eq "^Panel: none at the top of .*; $BAR_HEIGHT px reserved at its bottom\\)$" <<<"$(awning_status)" ||
    fail "--status does not say the bar is at the bottom"
log "pass"
