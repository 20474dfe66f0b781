#!/usr/bin/env bash
# 'awning --relaunch' makes the running Awning start a new instance and quit. An instance started so
# carries on when the Dock keeps no Awning; when it does, the started instance waits for the old one to
# go and starts once more, so that exactly one Awning runs in the end. An Awning of the same build in
# another session (another display and runtime folder, as another test run has) is none of its business.
set -euo pipefail
source "$(dirname "$0")/desktop.sh"
desktop_init 80

variable=com.larkspur.MultipleApplicationInstanceCheck
executable=$(readlink -f "$AWNING")

# Awning processes of this run, one PID a line (a process gone or a zombie has no executable link).
awning_pids() {
    local entry
    for entry in /proc/[0-9]*; do
        [[ $(readlink "$entry/exe" 2>/dev/null) == "$executable" ]] || continue
        grep -qz "^XDG_RUNTIME_DIR=$DESKTOP_DIR/runtime$" "$entry/environ" 2>/dev/null && echo "${entry#/proc/}"
    done
    return 0
}
one_awning_besides() { ! awning_pids | grep -qx "$1" && [[ $(awning_pids | grep -cvx "$1") -eq 1 ]]; }
parameter_of() { { tr "\0" "\n" <"/proc/$1/environ" | sed -n "s/^$variable=//p"; } 2>/dev/null; }

# relaunch_from PID: asks the running instance PID to relaunch; sets AWNING_PID to the instance that
# then remains, once PID is gone and exactly one other runs.
relaunch_from() {
    local old=$1
    awning_env
    "${AWNING_ENV[@]}" "$AWNING" --relaunch || fail "--relaunch found no running instance"
    wait_until 20 one_awning_besides "$old" || fail "expected exactly one new Awning; running: $(awning_pids | xargs)"
    AWNING_PID=$(awning_pids)
    DESKTOP_PIDS+=("$AWNING_PID")  # started by Awning, not by us: stopped at the end all the same
    wait "$old" 2>/dev/null || true
}

desktop_with_tint
first=$AWNING_PID

relaunch_from "$first"
second=$AWNING_PID
[[ $(parameter_of "$second") == skip ]] || fail "the relaunched instance was not started with skip"
nap 3
kill -0 "$second" 2>/dev/null || fail "the relaunched instance did not carry on"
[[ $(awning_pids) == "$second" ]] || fail "more than one Awning runs: $(awning_pids | xargs)"
wait_until 20 tint_shown "$PANEL_HEIGHT" || fail "the relaunched instance does not tint"
log "not kept in the Dock: the started instance carries on"

cat >"$DESKTOP_DIR/config/awning/com.apple.dock.plist" <<'PLIST'
<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
    <key>persistent-apps</key>
    <array>
        <dict><key>tile-data</key><dict><key>bundle-identifier</key><string>com.larkspur.awning</string></dict></dict>
    </array>
</dict>
</plist>
PLIST
# Another session's Awning, running all along: the relaunch must not wait for it. Another display name and
# runtime folder make it another session; it draws nowhere (the offscreen platform), so no display of
# its own is needed, and no second X server can race for a display number.
mkdir -p "$DESKTOP_DIR/other/runtime" "$DESKTOP_DIR/other/config" && chmod 700 "$DESKTOP_DIR/other/runtime"
desktop_spawn other env DISPLAY="$DISPLAY.0" \
    XDG_RUNTIME_DIR="$DESKTOP_DIR/other/runtime" XDG_CONFIG_HOME="$DESKTOP_DIR/other/config" \
    XDG_CACHE_HOME="$DESKTOP_DIR/other" QT_QPA_PLATFORM=offscreen "$AWNING"
other=$SPAWNED_PID
wait_until 10 eval '[[ $(readlink "/proc/$other/exe") == "$executable" ]]' || fail "the other session's Awning did not start"

relaunch_from "$second"
# The instance started with "skip" waited for the old one and started the last with "skipagain".
last_instance_runs() {
    [[ $(parameter_of "$AWNING_PID") == skipagain ]] || {
        AWNING_PID=$(awning_pids | head -n 1)
        false
    }
}
wait_until 20 last_instance_runs ||
    fail "no instance started with skipagain; running: $(awning_pids | xargs)"
DESKTOP_PIDS+=("$AWNING_PID")
last=$AWNING_PID
nap 3
[[ $(awning_pids) == "$last" ]] || fail "expected exactly one Awning, running: $(awning_pids | xargs)"
kill -0 "$other" 2>/dev/null || fail "the other session's Awning is gone"
wait_until 20 tint_shown "$PANEL_HEIGHT" || fail "the last instance does not tint"
log "kept in the Dock: one more relaunch, and exactly one Awning remains"
log "pass"
