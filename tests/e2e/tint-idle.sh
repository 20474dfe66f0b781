#!/usr/bin/env bash
# The tint lies exactly over the panel at the idle opacity, the gradient blended over the panel's
# colour row by row; a stored "Idle Alpha" replaces the default; quitting takes the tint away.
set -euo pipefail
source "$(dirname "$0")/desktop.sh"
desktop_init 60

desktop_with_tint
[[ $(awning_strip_windows | wc -l) -eq 1 ]] || fail "expected one tint window along the top edge"

stop_pid "$AWNING_PID"
wait_until 5 strip_plain "$PANEL_HEIGHT" "$PANEL_COLOR" || fail "tint stayed after Awning quit"

write_defaults '<key>Shown Settings</key><true/>' '<key>Idle Alpha</key><real>0.6</real>'
desktop_start_awning awning-again
wait_until 20 tint_shown "$PANEL_HEIGHT" 0.6 || {
    TINT_VERBOSE=1 tint_matches 0 "$PANEL_HEIGHT" 0.6
    fail "stored idle opacity not applied"
}
log "pass"
