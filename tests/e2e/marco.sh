#!/usr/bin/env bash
# MATE's window manager, marco, compositing: the tint keeps its opacity when marco's compositing is switched
# off and on again and when a full-screen window comes and goes. Both make the tint window anew, and marco
# drew a new window at full strength (the panel's bottom row black) unless its opacity was written again
# once marco had taken the window in.
set -euo pipefail
source "$(dirname "$0")/desktop.sh"
desktop_init 60
desktop_require marco gsettings
# marco paints the root black.
ROOT_COLOR=000000

mkdir -p "$DESKTOP_DIR/home"
# marco's settings in a file of the run's own, which it watches: no session bus needed.
marco_env=(env HOME="$DESKTOP_DIR/home" XDG_CONFIG_HOME="$DESKTOP_DIR/config" GSETTINGS_BACKEND=keyfile)
compositing() { "${marco_env[@]}" gsettings set org.mate.Marco.general compositing-manager "$1"; }

desktop_start_xvfb
compositing true
desktop_spawn marco "${marco_env[@]}" marco --replace
wait_until 10 eval 'xprop -root _NET_SUPPORTING_WM_CHECK >/dev/null 2>&1' || fail "marco did not start"
desktop_start_panel
write_defaults '<key>Shown Settings</key><true/>'
desktop_start_awning
wait_until 20 tint_shown "$PANEL_HEIGHT" || fail "no tint under marco"
log "tint shown under marco"

for try in 1 2; do
    compositing false
    wait_until 10 no_strip_window || fail "the tint stayed without a compositing manager"
    compositing true
    wait_until 5 tint_shown "$PANEL_HEIGHT" || {
        TINT_VERBOSE=1 tint_matches 0 "$PANEL_HEIGHT" 0.2
        fail "compositing back on ($try): the tint is not at its opacity"
    }
    log "compositing off and on ($try): tint at its opacity"
done

desktop_spawn fullscreen "$AWNING_DEMO_PANEL" --fullscreen --color 3c7a46
wait_until 10 no_strip_window || fail "the tint stayed over a full-screen window"
stop_pid "$SPAWNED_PID"
wait_until 5 tint_shown "$PANEL_HEIGHT" || fail "the tint came back from full screen not at its opacity"
log "pass"
