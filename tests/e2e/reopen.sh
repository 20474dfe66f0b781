#!/usr/bin/env bash
# A second launch hands over to the running Awning and exits 0 without a tint of its own, while the
# first keeps tinting; so does a launch through the launcher, which brings the settings window back; once the first has died without cleaning up, a launch takes over. A runtime folder
# that does not exist falls back to a folder of the user's own, so launches still find each other; where no
# folder will do, a launch says so and exits 1 rather than tint a second time.
set -euo pipefail
source "$(dirname "$0")/desktop.sh"
desktop_init 60

# A reopen opens the settings window, flush below the panel's middle with no window manager: the strip's two
# ends show the tint, and the row below them whether it stops at the panel's edge.
tint_at_ends() {
    shoot && tint_matches 0 "$PANEL_HEIGHT" 0.2 && tint_matches "$((DESKTOP_WIDTH - 1))" "$PANEL_HEIGHT" 0.2
}

desktop_with_tint '<key>Menu Bar State Check Interval</key><real>0.5</real>'
first=$AWNING_PID

# The launcher in the applications menu: its command, found on PATH, opens the running Awning's settings
# window rather than starting another.
settings_shown() { xdotool search --onlyvisible --name '^Awning Settings$' >/dev/null 2>&1; }
settings_shown && fail "the settings window is open before any second launch"
awning_env
desktop_spawn launcher "${AWNING_ENV[@]}" PATH="$(dirname "$AWNING"):$PATH" \
    gio launch "$(dirname "$0")/../../resources/linux/com.larkspur.Awning.desktop"
wait_until 20 settings_shown || fail "the launcher did not open the running Awning's settings window"
[[ $(awning_strip_windows | wc -l) -eq 1 ]] || fail "the launcher started a second tint"
log "the launcher opened the settings window"

desktop_launch_again

kill -0 "$first" 2>/dev/null || fail "first instance quit on reopen"
nap 1
[[ $(awning_strip_windows | wc -l) -eq 1 ]] || fail "expected the first instance's tint window only"
tint_at_ends || fail "first instance stopped tinting"

# A crash leaves the first instance's rendezvous behind; it must not swallow the next launch.
kill -KILL "$first"
wait "$first" 2>/dev/null || true
wait_until 5 strip_plain "$PANEL_HEIGHT" "$PANEL_COLOR" || fail "tint outlived its process"
desktop_start_awning third
wait_until 20 tint_shown "$PANEL_HEIGHT" || fail "a launch after a crash did not take over"
kill -0 "$AWNING_PID" 2>/dev/null || fail "the launch after a crash exited"
stop_pid "$AWNING_PID"
wait_until 5 strip_plain "$PANEL_HEIGHT" "$PANEL_COLOR" || fail "tint outlived its process"

# The runtime folder named does not exist: the socket goes into a private folder in the temporary folder.
mkdir -p "$DESKTOP_DIR/tmp"
awning_env
# (Qt makes a missing runtime folder when it can: only one whose parent is missing stays missing.)
AWNING_ENV+=(XDG_RUNTIME_DIR="$DESKTOP_DIR/missing/runtime" TMPDIR="$DESKTOP_DIR/tmp")
desktop_spawn fallback "${AWNING_ENV[@]}" "$AWNING"
AWNING_PID=$SPAWNED_PID
wait_until 20 tint_shown "$PANEL_HEIGHT" || fail "no tint with a missing runtime folder"
desktop_spawn fallback-again "${AWNING_ENV[@]}" "$AWNING"
again=$SPAWNED_PID
wait_until 20 eval '! kill -0 "$again" 2>/dev/null' || fail "the second launch without a runtime folder kept running"
wait "$again" || fail "the second launch without a runtime folder failed"
[[ -S $DESKTOP_DIR/tmp/awning-$(id -u)/awning-$(id -u).socket ]] || fail "no socket in the fallback folder"
log "a missing runtime folder falls back to a private folder"

# No folder will do: the temporary folder's is taken by a file, the cache cannot be made.
mkdir -p "$DESKTOP_DIR/tmp2" && : >"$DESKTOP_DIR/tmp2/awning-$(id -u)"
: >"$DESKTOP_DIR/no-cache"
AWNING_ENV+=(TMPDIR="$DESKTOP_DIR/tmp2" XDG_CACHE_HOME="$DESKTOP_DIR/no-cache/cache")
desktop_spawn unchecked "${AWNING_ENV[@]}" "$AWNING"
unchecked=$SPAWNED_PID
wait_until 20 eval '! kill -0 "$unchecked" 2>/dev/null' || fail "a launch that could not check kept running"
status=0
wait "$unchecked" || status=$?
[[ $status -eq 1 ]] || fail "a launch that could not check exited $status"
# (Qt adds a warning of its own about the runtime folder.)
[[ $(grep -c "^Awning cannot tell whether it already runs (.*), so it does not start.$" "$DESKTOP_DIR/unchecked.err") -eq 1 ]] ||
    fail "a launch that could not check did not say so in one line: $(cat "$DESKTOP_DIR/unchecked.err")"
log "$(grep "^Awning" "$DESKTOP_DIR/unchecked.err")"
tint_at_ends || fail "the tint changed"
log "pass"
