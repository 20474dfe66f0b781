# shellcheck shell=bash disable=SC2034  # the variables set here are read by the scripts sourcing it
# A private GNOME Shell on Wayland for end-to-end runs: headless, on a virtual monitor, with private system
# and session buses, a fresh home holding Awning's extension and a test-only one that turns on the shell's
# unsafe mode (so that the test may take screenshots and call Eval). Runs share nothing and may go side by
# side. Source this file, then call gnome_init before anything else.
#
# Needs: AWNING, and AWNING_SOURCE_DIR (the repository, for the extensions).

source "$(dirname "${BASH_SOURCE[0]}")/desktop.sh"

DESKTOP_WIDTH=1280
DESKTOP_HEIGHT=800
EXTENSION=awning@larkspur.example
# The bar's colour while a test runs (a plain light grey, so that a dark gradient over it shows), and its
# height in rows, read from the shell.
PANEL_COLOR=c0c0c0
PANEL_HEIGHT=

# gnome_init [TIME_LIMIT]: starts the shell and waits until it answers on the bus.
gnome_init() {
    desktop_require gnome-shell gjs gdbus dbus-daemon convert
    [[ -d ${AWNING_SOURCE_DIR:-}/gnome-shell/extension ]] || {
        echo "AWNING_SOURCE_DIR must name the repository" >&2
        exit 1
    }
    desktop_prepare "${1:-60}"
    local runtime=$DESKTOP_DIR/runtime home=$DESKTOP_DIR/home
    local extensions=$home/.local/share/gnome-shell/extensions
    mkdir -p "$extensions"
    cp -r "$AWNING_SOURCE_DIR/gnome-shell/extension" "$extensions/$EXTENSION"
    cp -r "$AWNING_SOURCE_DIR/tests/e2e/gnome/unsafe-mode@awning-tests" "$extensions/"
    gnome_buses "$runtime"
    export HOME=$home XDG_RUNTIME_DIR=$runtime XDG_SESSION_TYPE=wayland XDG_CURRENT_DESKTOP=GNOME
    export XDG_CONFIG_HOME=$DESKTOP_DIR/config XDG_CACHE_HOME=$DESKTOP_DIR/cache XDG_DATA_HOME=$home/.local/share
    export GSETTINGS_BACKEND=keyfile LC_ALL=C.UTF-8
    qt_leak_options
    export "${QT_LEAK_OPTIONS[@]}"
    unset DISPLAY WAYLAND_DISPLAY
    gsettings set org.gnome.shell enabled-extensions "['$EXTENSION', 'unsafe-mode@awning-tests']"
    gsettings set org.gnome.shell disable-user-extensions false
    # The shell may crash as it is stopped at the end: no core file for that.
    ulimit -c 0
    desktop_spawn gnome-shell setsid gnome-shell --headless --wayland --no-x11 \
        --virtual-monitor "${DESKTOP_WIDTH}x${DESKTOP_HEIGHT}"
    wait_until 20 gnome_eval true || fail "GNOME Shell did not answer"
    log "GNOME Shell up"
    export WAYLAND_DISPLAY=wayland-0
    # The shell ends its start in the overview, and sets the bar's style as it goes: the overview is left,
    # and the bar made plain (one colour, without its labels: what the pixels are compared with), after.
    wait_until 20 eval '[[ $(gnome_eval "Main.layoutManager._startingUp") == false ]]' ||
        fail "GNOME Shell does not finish starting"
    wait_until 10 eval '[[ $(gnome_eval "Main.overview.hide(); Main.overview.visible") == false ]]' ||
        fail "the overview stays"
    gnome_eval "Main.panel.set_style('background-color: #$PANEL_COLOR');
        [Main.panel._leftBox, Main.panel._centerBox, Main.panel._rightBox].forEach(b => b.hide()); true" \
        >/dev/null || fail "cannot prepare the bar"
    # Where the shell starts the pointer is its own affair: off the bar, as the tests expect it.
    pointer_to "$((DESKTOP_WIDTH / 2))" "$((DESKTOP_HEIGHT / 2))" || fail "cannot move the pointer"
    PANEL_HEIGHT=$(gnome_eval "Main.panel.height")
    log "bar of $PANEL_HEIGHT rows"
}

# gnome_buses RUNTIME: a private system bus (without one the shell exits) and the session bus.
gnome_buses() {
    local runtime=$1 type
    for type in system session; do
        cat >"$DESKTOP_DIR/$type.conf" <<CONF
<busconfig><type>$type</type><listen>unix:path=$runtime/$type-bus</listen><auth>EXTERNAL</auth>
<policy context="default"><allow send_destination="*" eavesdrop="true"/><allow eavesdrop="true"/><allow own="*"/></policy>
</busconfig>
CONF
        desktop_spawn "$type-bus" dbus-daemon --nofork --config-file="$DESKTOP_DIR/$type.conf"
    done
    export DBUS_SYSTEM_BUS_ADDRESS=unix:path=$runtime/system-bus DBUS_SESSION_BUS_ADDRESS=unix:path=$runtime/session-bus
    wait_until 10 test -S "$runtime/session-bus" -a -S "$runtime/system-bus" || fail "the buses did not start"
}

# gnome_eval JS: the value of JS in the shell, printed; fails when the shell does not answer or JS throws.
gnome_eval() {
    local answer
    answer=$(gdbus call --session --dest org.gnome.Shell --object-path /org/gnome/Shell \
        --method org.gnome.Shell.Eval "$1" 2>/dev/null) || return 1
    [[ $answer == "(true, "* ]] || return 1
    answer=${answer#"(true, '"}
    printf '%s\n' "${answer%"')"}"
}

# shoot: the shell's own screenshot of the whole output into $SHOT.
shoot() {
    SHOT="$DESKTOP_DIR/shot.png"
    rm -f "$SHOT"
    gdbus call --session --dest org.gnome.Shell.Screenshot --object-path /org/gnome/Shell/Screenshot \
        --method org.gnome.Shell.Screenshot.Screenshot false false "$SHOT" >/dev/null || return 1
    # The shell may answer while it still writes the file: read it only once its last chunk is there.
    wait_until 5 png_complete "$SHOT"
}
png_complete() { [[ -s $1 ]] && tail -c 12 "$1" | grep -q IEND; }

# tint_shown HEIGHT [OPACITY]: as on X11, with what lies below the bar read from the row under it in the
# same screenshot: the shell's background is a gradient across the screen, and the overview dims it as it
# goes, so no colour read earlier holds.
tint_shown() {
    local x
    shoot || return 1
    for x in 0 "$((DESKTOP_WIDTH / 2))" "$((DESKTOP_WIDTH - 1))"; do
        ROOT_COLOR=$(pixel "$x" "$(($1 + 1))" | awk '{ printf "%02x%02x%02x", $1, $2, $3 }')
        tint_matches "$x" "$1" "${2:-0.2}" || return 1
    done
}

# pointer_to X Y: moves the pointer there, through a virtual device of the shell's seat.
pointer_to() {
    gnome_eval "const {Clutter} = imports.gi;
        global._awningTestPointer ??= Clutter.get_default_backend().get_default_seat()
            .create_virtual_device(Clutter.InputDeviceType.POINTER_DEVICE);
        global._awningTestPointer.notify_absolute_motion(global.get_current_time() * 1000, $1, $2); true" \
        >/dev/null
}

# pointer_button PRESSED|RELEASED: the first button of the virtual pointer.
pointer_button() {
    gnome_eval "const {Clutter} = imports.gi;
        global._awningTestPointer.notify_button(global.get_current_time() * 1000, Clutter.BUTTON_PRIMARY,
            Clutter.ButtonState.$1); true" >/dev/null
}

# pointer_drag X1 Y1 X2 Y2: presses the first button at one place, moves there in steps and lets go, each
# step its own event for the window beneath (Qt on Wayland merges motions that arrive together).
pointer_drag() {
    local step
    pointer_to "$1" "$2" && nap 0.2 && pointer_button PRESSED && nap 0.2 || return 1
    for step in 1 2 3 4 5 6 7 8; do
        pointer_to "$(($1 + ($3 - $1) * step / 8))" "$(($2 + ($4 - $2) * step / 8))" && nap 0.05 || return 1
    done
    nap 0.2 && pointer_button RELEASED
}

# window_frame TITLE: "x y width height" of the shell's window of that title; nothing while there is none.
window_frame() {
    gnome_eval "const w = global.display.list_all_windows().find(w => w.get_title() === '$1');
        w ? [w.get_frame_rect().x, w.get_frame_rect().y, w.get_frame_rect().width, w.get_frame_rect().height]
            .join(' ') : ''" | tr -d '"'
}

# gnome_start_awning [NAME]: Awning on the shell's Wayland display; sets AWNING_PID.
gnome_start_awning() {
    # Without Qt's own title bar, the window's frame is its menu bar and content, as on other desktops.
    desktop_spawn "${1:-awning}" env QT_QPA_PLATFORM=wayland QT_WAYLAND_DISABLE_WINDOWDECORATION=1 "$AWNING"
    AWNING_PID=$SPAWNED_PID
    log "awning started (pid $AWNING_PID)"
}

# extension_enabled true|false: turns Awning's extension on or off through the shell's own interface.
extension_enabled() {
    local method=DisableExtension
    [[ $1 == true ]] && method=EnableExtension
    gdbus call --session --dest org.gnome.Shell --object-path /org/gnome/Shell \
        --method "org.gnome.Shell.Extensions.$method" "$EXTENSION" >/dev/null
}
