#!/usr/bin/env bash
# A second launch hands over to the running Awning and exits 0 without a tint of its own, while the
# first keeps tinting; once the first has died without cleaning up, a launch takes over.
set -euo pipefail
source "$(dirname "$0")/desktop.sh"
desktop_init 60

desktop_with_tint '<key>Menu Bar State Check Interval</key><real>0.5</real>'
first=$AWNING_PID
desktop_launch_again

kill -0 "$first" 2>/dev/null || fail "first instance quit on reopen"
nap 1
[[ $(awning_strip_windows | wc -l) -eq 1 ]] || fail "expected the first instance's tint window only"
tint_shown "$PANEL_HEIGHT" || fail "first instance stopped tinting"

# A crash leaves the first instance's rendezvous behind; it must not swallow the next launch.
kill -KILL "$first"
wait "$first" 2>/dev/null || true
wait_until 5 strip_plain "$PANEL_HEIGHT" "$PANEL_COLOR" || fail "tint outlived its process"
desktop_start_awning third
wait_until 20 tint_shown "$PANEL_HEIGHT" || fail "a launch after a crash did not take over"
kill -0 "$AWNING_PID" 2>/dev/null || fail "the launch after a crash exited"
log "pass"
