#!/usr/bin/env bash
# "Settings…" chosen from the About panel's menu under a window manager brings the settings window in
# front of the About panel with the keyboard, every time: ten tries, each from the About panel active on
# top. The About panel carries Awning's icon.
set -euo pipefail
source "$(dirname "$0")/desktop.sh"
desktop_init 80
TRIES=10

settings_window() { xdotool search --onlyvisible --name '^Awning Settings$' 2>/dev/null | head -n 1; }
about_panel() { xdotool search --onlyvisible --name '^About Awning$' 2>/dev/null | head -n 1; }
hex() { printf '0x%x' "$1"; }
active_window() { xprop -root _NET_ACTIVE_WINDOW | awk '{ print $NF }'; }
# The upper of the two in the manager's stacking order (bottom to top).
upper_of() {
    xprop -root _NET_CLIENT_LIST_STACKING | tr -d ',' | tr ' ' '\n' | grep -x -e "$(hex "$1")" -e "$(hex "$2")" |
        tail -n 1
}
in_front() { [[ $(active_window) == "$(hex "$1")" && $(upper_of "$settings" "$about") == "$(hex "$1")" ]]; }
desktop_start_xvfb
desktop_start_openbox
desktop_start_panel
desktop_start_compositor
version=$("$AWNING" --version | awk '{ print $2 }')
write_defaults '<key>Show Settings On Launch</key><true/>' \
    "<key>KRAdButtonWindowAppVersion</key><string>$version</string>"
desktop_start_awning
wait_until 20 eval '[[ -n $(settings_window) ]]' || fail "the settings window did not open"
awning_env
"${AWNING_ENV[@]}" "$AWNING" --about || fail "awning --about failed"
wait_until 10 eval '[[ -n $(about_panel) ]]' || fail "no About panel"
settings=$(settings_window) about=$(about_panel)

for ((try = 1; try <= TRIES; try++)); do
    xdotool windowactivate "$about"
    wait_until 5 in_front "$about" || fail "try $try: the About panel did not come in front"
    # Qt hears of its activation after the window manager has published it.
    nap 0.3
    read -r x y < <(xwininfo -id "$about" | awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
        END { print x, y }')
    # The application menu at the left of the menu bar; "Settings…" is its second item.
    xdotool mousemove "$((x + 25))" "$((y + 10))" click 1
    nap 0.4  # the menu opens, nothing chosen yet: the keys do not depend on the items' heights
    xdotool key Down Down Return
    wait_until 5 in_front "$settings" || fail "try $try: the About panel stayed in front with the keyboard"
    # Whatever was still on its way to the window manager has arrived by now.
    nap 0.3
    in_front "$settings" || fail "try $try: the About panel came back in front"
done
log "$TRIES of $TRIES tries brought the settings window in front"
# has_icon WINDOW: its icon holds the dark blue of Awning's own (#1d2b3a), not a generic window's.
has_icon() { xprop -notype -f _NET_WM_ICON 32c -id "$1" _NET_WM_ICON | tr ',' '\n' | grep -x ' *4280101690' >/dev/null; }
wait_until 5 has_icon "$about" || fail "the About panel shows no icon of Awning's"
log "pass"
