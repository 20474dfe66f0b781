#!/usr/bin/env bash
# The "Hi!" popover under a window manager reads as part of the settings window: task bars and pagers
# leave it out (the properties they read: its state, the window it is transient for, its type), it has an
# edge of its own, it stays on the screen when the window is moved against the screen's edge, and a click
# just above its top edge presses the button it points at ("OK"), which closes it; opened again, it is
# still left out. The settings window carries Awning's icon, and the window class by which desktops on X11
# tell it belongs to Awning's launcher.
set -euo pipefail
source "$(dirname "$0")/desktop.sh"
desktop_init 60

settings_window() { xdotool search --onlyvisible --name '^Awning Settings$' 2>/dev/null | head -n 1; }
settings_shown() { [[ -n $(settings_window) ]]; }
# The popover: Awning's visible window 180 points wide.
popover_window() {
    local window WIDTH
    for window in $(xdotool search --onlyvisible --pid "$AWNING_PID" 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$window" | grep '^WIDTH=')"
        [[ $WIDTH == 180 ]] && echo "$window"
    done
    return 0
}
popover_shown() { [[ -n $(popover_window) ]]; }
no_popover() { [[ -z $(popover_window) ]]; }
# place WINDOW: LEFT TOP RIGHT BOTTOM of its client area on the screen.
place() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
        /^ +Width/ { w = $NF } /^ +Height/ { h = $NF } END { print x, y, x + w, y + h }'
}
on_screen() {
    local left top right bottom
    read -r left top right bottom < <(place "$1")
    ((left >= 0 && top >= 0 && right <= DESKTOP_WIDTH && bottom <= DESKTOP_HEIGHT))
}
left_out_of_task_lists() {
    local popover=$1
    xprop -id "$popover" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR || fail "the popover is listed by task bars"
    xprop -id "$popover" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_PAGER || fail "the popover is listed by pagers"
    [[ $(xprop -id "$popover" WM_TRANSIENT_FOR | awk '{ print $NF }') == "$(printf '0x%x' "$(settings_window)")" ]] ||
        fail "the popover is not transient for the settings window: $(xprop -id "$popover" WM_TRANSIENT_FOR)"
    xprop -id "$popover" _NET_WM_WINDOW_TYPE | grep -q '= _NET_WM_WINDOW_TYPE_UTILITY' ||
        fail "the popover is a window of its own kind: $(xprop -id "$popover" _NET_WM_WINDOW_TYPE)"
}
# has_icon WINDOW: its icon holds the dark blue of Awning's own (#1d2b3a), not a generic window's.
# edge_drawn WINDOW: its left column differs from the background just inside it.
edge_drawn() {
    local left top
    read -r left top _ < <(place "$1")
    shoot && [[ $(pixel "$left" "$((top + 10))") != "$(pixel "$((left + 3))" "$((top + 10))")" ]]
}
has_icon() { xprop -notype -f _NET_WM_ICON 32c -id "$1" _NET_WM_ICON | tr ',' '\n' | grep -x ' *4280101690' >/dev/null; }

desktop_start_xvfb
desktop_start_openbox
desktop_start_panel
desktop_start_compositor
write_defaults '<key>Show Settings On Launch</key><true/>'
desktop_start_awning
wait_until 20 settings_shown || fail "the settings window did not open"
wait_until 10 popover_shown || fail "the first launch showed no popover"
settings=$(settings_window)
left_out_of_task_lists "$(popover_window)"
wait_until 5 has_icon "$settings" || fail "the settings window shows no icon of Awning's"
launcher_class=$(sed -n 's/^StartupWMClass=//p' "$(dirname "$0")/../../resources/linux/com.larkspur.Awning.desktop")
xprop -id "$settings" WM_CLASS | grep -q "= \"$launcher_class\", \"$launcher_class\"$" ||
    fail "the settings window's class is not the launcher's StartupWMClass ($launcher_class): $(xprop -id "$settings" WM_CLASS)"
on_screen "$(popover_window)" || fail "the popover lies past the screen's edge: $(place "$(popover_window)")"
wait_until 10 edge_drawn "$(popover_window)" || fail "the popover has no edge of its own"
log "popover $(place "$(popover_window)") left out of task lists; the settings window shows the icon"

# Against the screen's right edge the popover, centred under its button, would pass it.
read -r left top right _ < <(place "$settings")
before=$(place "$(popover_window)")
xdotool windowmove "$settings" "$((DESKTOP_WIDTH - (right - left)))" "$top"
wait_until 5 eval '[[ $(place "$(popover_window)") != "$before" ]]' || fail "the popover stayed behind its window"
wait_until 2 on_screen "$(popover_window)" || fail "the popover went past the screen's edge: $(place "$(popover_window)")"
read -r left top right _ < <(place "$settings")
read -r _ popover_top popover_right _ < <(place "$(popover_window)")
((popover_right > right - 20)) || fail "the popover left its button at the window's right end"
log "moved with its window to $(place "$(popover_window)"), inside the screen"

xdotool mousemove "$((right - 20))" "$((popover_top - 3))" click 1
wait_until 5 no_popover || fail "no button ('OK') just above the popover's top edge"
xdotool mousemove "$((right - 20))" "$((popover_top - 3))" click 1
wait_until 5 popover_shown || fail "'Hi!' opened no popover again"
left_out_of_task_lists "$(popover_window)"
log "pass"
