#!/usr/bin/env bash
# The About panel and the "Hi!" popover on the desktop. The first launch of a version shows the popover
# under the settings window's "Hi!" button once; `awning --about` hands the About command to the running
# instance, whose panel shows the credits with the linked image and an "EULA" button in its top edge; a
# click on either opens the maker's page in the browser (a stand-in xdg-open records it); the next launch
# of the same version shows no popover.
set -euo pipefail
source "$(dirname "$0")/desktop.sh"
desktop_init 90

HOME_PAGE=https://larkspur.example/
EULA_PAGE=https://larkspur.example/eula
BIRD_COLOR=4f7fbf  # the running bird's body, drawn by tools/artwork/draw-running-bird.sh

mkdir -p "$DESKTOP_DIR/bin"
cat >"$DESKTOP_DIR/bin/xdg-open" <<SCRIPT
#!/bin/sh
echo "\$1" >>"$DESKTOP_DIR/opened"
SCRIPT
chmod +x "$DESKTOP_DIR/bin/xdg-open"
export PATH="$DESKTOP_DIR/bin:$PATH"

opened() { [[ -f $DESKTOP_DIR/opened && $(tail -n 1 "$DESKTOP_DIR/opened") == "$1" ]]; }
about_panel() { xdotool search --onlyvisible --name '^About Awning$' 2>/dev/null | head -n 1; }
about_shown() { [[ -n $(about_panel) ]]; }
settings_shown() { [[ -n $(xdotool search --onlyvisible --name '^Awning Settings$' 2>/dev/null) ]]; }
# The popover: Awning's visible window 180 points wide.
popover_count() {
    local window count=0 WIDTH
    for window in $(xdotool search --onlyvisible --pid "$AWNING_PID" 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$window" | grep '^WIDTH=')"
        [[ $WIDTH == 180 ]] && count=$((count + 1))
    done
    echo "$count"
}
popover_shown() { [[ $(popover_count) == 1 ]]; }
stored_version() {
    grep -A1 '<key>KRAdButtonWindowAppVersion</key>' "$DESKTOP_DIR/config/awning/com.larkspur.Awning.plist" |
        sed -n 's:.*<string>\(.*\)</string>.*:\1:p'
}
quit_awning() {
    kill -TERM "$AWNING_PID"
    wait_until 10 eval '! kill -0 "$AWNING_PID" 2>/dev/null' || fail "Awning did not quit"
}

desktop_start_xvfb
desktop_start_panel
desktop_start_compositor
write_defaults '<key>Show Settings On Launch</key><true/>'
desktop_start_awning
wait_until 20 settings_shown || fail "the settings window did not open"
wait_until 10 popover_shown || fail "the first launch showed no popover"
[[ $(stored_version) == "$("$AWNING" --version | cut -d' ' -f2)" ]] || fail "the version was not stored"
log "first launch: popover shown once, version $(stored_version) stored"

desktop_launch_about() {
    local running=$AWNING_PID status=0
    awning_env
    desktop_spawn about "${AWNING_ENV[@]}" PATH="$PATH" "$AWNING" --about
    wait_until 20 eval '! kill -0 "$SPAWNED_PID" 2>/dev/null' || fail "awning --about kept running"
    wait "$SPAWNED_PID" || status=$?
    [[ $status -eq 0 ]] || fail "awning --about exited with status $status"
    AWNING_PID=$running
}
desktop_launch_about
wait_until 10 about_shown || fail "awning --about showed no About panel"
panel=$(about_panel)
log "About panel $panel shown"

eval "$(xdotool getwindowgeometry --shell "$panel")"
PANEL_X=$X PANEL_Y=$Y PANEL_W=$WIDTH PANEL_H=$HEIGHT
# The EULA button sits at the right-hand end of the content's top edge, 7 points in from both edges, under
# the menu bar of whatever height the style gives it: clicks go down that edge until one presses it.
for dy in 14 20 26 32 38 44 50; do
    xdotool mousemove "$((PANEL_X + PANEL_W - 12))" "$((PANEL_Y + dy))" click 1
    wait_until 1 opened "$EULA_PAGE" && break
done
opened "$EULA_PAGE" || fail "the EULA button opened no licence page: $(cat "$DESKTOP_DIR/opened" 2>/dev/null)"
log "EULA button opened $EULA_PAGE"

# The credits end with the bird: find its body in the panel and click it.
shoot
convert "$SHOT" -crop "${PANEL_W}x${PANEL_H}+${PANEL_X}+${PANEL_Y}" +repage txt:"$DESKTOP_DIR/panel.txt"
bird=$(awk -v c="#$BIRD_COLOR" 'toupper($3) ~ toupper(c) { sub(":", "", $1); print $1; exit }' "$DESKTOP_DIR/panel.txt")
[[ -n $bird ]] || fail "the credits show no running bird"
xdotool mousemove "$((PANEL_X + ${bird%,*} + 3))" "$((PANEL_Y + ${bird#*,} + 3))" click 1
wait_until 5 opened "$HOME_PAGE" || fail "the bird opened no home page: $(tail -n 1 "$DESKTOP_DIR/opened")"
log "the bird opened $HOME_PAGE"

desktop_launch_about
[[ $(xdotool search --onlyvisible --name '^About Awning$' | wc -l) == 1 ]] || fail "a second About made another panel"

quit_awning
desktop_start_awning
wait_until 20 settings_shown || fail "the settings window did not open again"
nap 1
[[ $(popover_count) == 0 ]] || fail "the next launch of the same version showed the popover again"
log "pass"
