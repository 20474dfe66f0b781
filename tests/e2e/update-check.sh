#!/usr/bin/env bash
# A check for updates that the user asks for and that fails says why in an alert, and changes nothing
# the last successful check recorded. Awning runs from a copy of its bundle whose feed is random bytes;
# "Check for Updates…" is chosen from the application menu on the settings window.
set -euo pipefail
source "$(dirname "$0")/desktop.sh"
desktop_init 60

settings_window() { xdotool search --onlyvisible --name '^Awning Settings$' 2>/dev/null | head -n 1; }
settings_shown() { [[ -n $(settings_window) ]]; }
alert_shown() { [[ -n $(xdotool search --onlyvisible --name '^Update Check Failed$' 2>/dev/null) ]]; }
defaults_file=$DESKTOP_DIR/config/awning/com.larkspur.Awning.plist

bundle=$DESKTOP_DIR/bundle
cp -r "$(dirname "$AWNING")/resources" "$bundle"
head -c 65536 /dev/urandom >"$DESKTOP_DIR/appcast.xml"
sed -i "s|<string>https://[^<]*appcast.xml</string>|<string>file://$DESKTOP_DIR/appcast.xml</string>|" "$bundle/Info.plist"
grep -q "file://$DESKTOP_DIR/appcast.xml" "$bundle/Info.plist" || fail "the bundle copy names no local feed"
export AWNING_BUNDLE_DIR=$bundle

desktop_start_xvfb
desktop_start_panel
version=$("$AWNING" --version | awk '{ print $2 }')
# An update found yesterday; the "Hi!" popover of a first start would cover the window: shown already.
record="<key>KRSparkleWrapperStatus</key><dict><key>Check Date</key><integer>1767528000</integer><key>Current Version</key><string>$version</string><key>Update Version</key><string>9.9</string></dict>"
write_defaults "<key>KRAdButtonWindowAppVersion</key><string>$version</string>" "$record"
recorded_before=$(tr -d ' \t\n' <"$defaults_file" | grep -oP '<key>KRSparkleWrapperStatus</key><dict>.*?</dict>')
desktop_start_awning
wait_until 20 settings_shown || fail "the settings window did not open"

# The application menu is the first title of the window's menu bar; its fourth command is "Check for Updates…".
eval "$(xdotool getwindowgeometry --shell "$(settings_window)")"
xdotool mousemove "$((X + 20))" "$((Y + 10))" click 1
nap 0.5
xdotool key Down Down Down Down Return
wait_until 10 alert_shown || fail "the failed check showed no alert"
log "alert shown"
grep -q '\[SUUpdater\] cannot read the update feed' "$DESKTOP_DIR/awning.err" || fail "the failure was not logged"
recorded_after=$(tr -d ' \t\n' <"$defaults_file" | grep -oP '<key>KRSparkleWrapperStatus</key><dict>.*?</dict>')
[[ $recorded_after == "$recorded_before" ]] || fail "the failed check changed the record: $recorded_after"
log "pass"
