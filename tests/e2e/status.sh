#!/usr/bin/env bash
# `awning --status` asks the running Awning why the bar looks as it does; at rest a check asks the X server
# nothing. With no Awning running it says so and exits 1.
set -euo pipefail
source "$(dirname "$0")/desktop.sh"
desktop_init 60

desktop_with_tint '<key>Menu Bar State Check Interval</key><real>0.5</real>'
awning_env
status() { "${AWNING_ENV[@]}" "$AWNING" --status; }

# Two quiet check periods: the second finds nothing changed since the first.
nap 1.2
report=$(status) || fail "--status failed while Awning runs"
log "status:"$'\n'"$report"
grep -q "^Panel: window $(printf '0x%x' "$PANEL_WINDOW"), class \"AwningDemoPanel\", ${DESKTOP_WIDTH}x$PANEL_HEIGHT at 0,0$" <<<"$report" ||
    fail "the panel is not named"
grep -q "^Tint: ${DESKTOP_WIDTH}x$PANEL_HEIGHT at 0,0$" <<<"$report" || fail "the strip is not given"
grep -q "^Compositing manager: running$" <<<"$report" || fail "the compositor is not reported"
grep -q "^Opacity: idle 0.20, hover 0.00, now 0.20$" <<<"$report" || fail "the opacities are not reported"
grep -q "^Last check: .* s ago, 0 X requests$" <<<"$report" || fail "a check at rest asked the X server"

stop_pid "$AWNING_PID"
if report=$(status 2>&1); then
    fail "--status succeeded with no Awning running"
fi
grep -q "not running" <<<"$report" || fail "--status did not say that no Awning runs"
log "pass"
