#!/usr/bin/env bash
# `awning --status` asks the running Awning why the bar looks as it does; at rest a check asks the X server
# nothing, and after one window of many moved it reads that window alone. A stopped Awning that never
# answers is given up on after a few seconds; with no Awning running it says so. Both exit 1.
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

windows=12
for ((i = 0; i < windows; i++)); do
    desktop_spawn "window$i" "$AWNING_DEMO_PANEL" --normal --color 5a6e82 --width 120 --height 90 \
        --x "$((20 + i * 30))" --y "$((100 + i * 10))"
done
wait_until 20 eval '[[ $(grep -l "^ready" "$DESKTOP_DIR"/window*.out 2>/dev/null | wc -l) -eq $windows ]]' ||
    fail "the ordinary windows did not start"
nap 1.2
xdotool windowmove "$(awk '/^ready/ { print $2; exit }' "$DESKTOP_DIR/window3.out")" 300 300
nap 1.2
report=$(status)
log "after one window moved:"$'\n'"$report"
grep -q "^Last check: .* s ago, 0 X requests$" <<<"$report" || fail "a check at rest asked the X server"
grep -Eq "^Last reading: [0-9]+ X requests, 1 of ([0-9]+) windows read$" <<<"$report" ||
    fail "moving one window did not read that window alone"

# Stopped, Awning's socket still accepts the connection, but nothing answers.
kill -STOP "$AWNING_PID"
asked=$(now)
status_of_stopped=0
report=$(status 2>&1) || status_of_stopped=$?
waited=$(elapsed_since "$asked")
kill -CONT "$AWNING_PID"
log "against a stopped Awning, after ${waited}s: $report"
[[ $status_of_stopped -eq 1 ]] || fail "--status against a stopped Awning exited $status_of_stopped"
grep -q "did not answer within 3 s" <<<"$report" || fail "--status did not say that Awning did not answer"
awk -v w="$waited" 'BEGIN { exit !(w < 10) }' || fail "--status waited ${waited}s"
status >/dev/null || fail "--status failed once Awning went on"

stop_pid "$AWNING_PID"
if report=$(status 2>&1); then
    fail "--status succeeded with no Awning running"
fi
grep -q "not running" <<<"$report" || fail "--status did not say that no Awning runs"
log "pass"
