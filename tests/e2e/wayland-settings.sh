#!/usr/bin/env bash
# The settings window on sway: it opens at the first start as a native Wayland window (xdg-shell, not
# XWayland, which this sway does not even run), its app id the launcher's (com.larkspur.Awning.desktop), by
# which compositors and docks match it to the launcher; a drag of the idle slider with Shift held stores both
# opacities and the tint's pixels take the new one; a second launch hands its activation token over, with
# which sway marks the window as asking for attention, and without which it does not.
set -euo pipefail
source "$(dirname "$0")/wayland.sh"
wayland_init sway 60
desktop_require jq

# Where the Settings interface file puts things, in points from the content's lower-left corner.
SLIDER_LEFT=180 SLIDER_RIGHT=440 IDLE_SLIDER_BOTTOM=172 ROW_HEIGHT=24 CONTENT_HEIGHT=330

# settings_node: sway's record of the settings window, as JSON; nothing while there is none.
settings_node() {
    as_user swaymsg -r -t get_tree | jq -c '.. | objects | select(.name? == "Awning Settings")' | head -n 1
}
settings_shown() { [[ -n $(settings_node) ]]; }
settings_urgent() { [[ $(settings_node | jq -r .urgent) == true ]]; }

both_opacities_stored() {
    local idle hover
    idle=$(stored "Idle Alpha") hover=$(stored "Hover Alpha")
    [[ -n $idle && $idle == "$hover" ]]
}

wayland_start_compositor
wayland_start_bar top
# The "Hi!" popover of a first start would lie over the sliders: this version has shown it already.
version=$("$AWNING" --version | awk '{ print $2 }')
wayland_start_awning settings "<key>KRAdButtonWindowAppVersion</key><string>$version</string>"
wait_until 20 settings_shown || fail "the settings window did not open at the first start"
node=$(settings_node)
log "settings window: $(jq -c '{app_id, shell, rect}' <<<"$node")"
[[ $(jq -r .shell <<<"$node") == xdg_shell ]] || fail "the settings window is no native Wayland window"
[[ $(jq -r .app_id <<<"$node") == com.larkspur.Awning ]] || fail "the settings window's app id is not the launcher's"
wait_until 20 tint_shown "$BAR_ROWS" 0.2 || fail "no tint at the default idle opacity"

# The window as sway placed it (floating: its size is fixed), its menu bar above the content.
x=$(jq .rect.x <<<"$node") y=$(jq .rect.y <<<"$node") height=$(jq .rect.height <<<"$node")
((height > CONTENT_HEIGHT)) || fail "no menu bar above the settings window's content (height $height)"
row=$((y + height - IDLE_SLIDER_BOTTOM - ROW_HEIGHT / 2))
knob=$((x + SLIDER_LEFT + (SLIDER_RIGHT - SLIDER_LEFT) / 5))  # the idle opacity's 0.2
target=$((x + SLIDER_LEFT + (SLIDER_RIGHT - SLIDER_LEFT) * 3 / 4))
# wtype holds Shift on sway's seat while the driver drags the knob (this sway lets no client press keys
# through the driver's protocols).
wayland_spawn shift wtype -M shift -s 2500 -m shift
nap 0.5
driver drag "$knob" "$row" "$target" "$row"
wait_until 5 both_opacities_stored || fail "Shift did not store both opacities: $(stored 'Idle Alpha') $(stored 'Hover Alpha')"
alpha=$(stored "Idle Alpha")
awk -v a="$alpha" 'BEGIN { exit !(a > 0.6 && a < 0.9) }' || fail "idle opacity $alpha is not where the drag ended"
wait_until 5 tint_shown "$BAR_ROWS" "$alpha" || {
    TINT_VERBOSE=1 tint_matches 0 "$BAR_ROWS" "$alpha"
    fail "the tint's pixels did not take the new opacity $alpha"
}
log "idle and hover opacity $alpha stored and shown"

# Another window takes the keyboard. A second launch without a token is not let through; with one it is.
wayland_spawn other "$AWNING_WAYLAND_DRIVER" full-screen 5a6e82
wait_until 10 grep -q '^ready' "$DESKTOP_DIR/other.out" || fail "the other window did not show"
launch_again() {
    as_user "$@" "$AWNING" || fail "a second launch exited with status $?"
}
launch_again env
nap 1
! settings_urgent || fail "sway let a launch without a token through (the token test below proves nothing)"
launch_again env XDG_ACTIVATION_TOKEN="$(driver token)"
wait_until 5 settings_urgent || fail "a second launch's activation token did not reach the settings window"
log "pass"
