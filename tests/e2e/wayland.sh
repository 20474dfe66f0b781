# shellcheck shell=bash disable=SC2034  # the variables set here are read by the scripts sourcing it
# Private Wayland desktops for end-to-end runs: a headless compositor (sway, or KWin's virtual backend),
# waybar as the panel and Awning. sway refuses to run as root, so when the tests run as root everything on
# the desktop runs as an unprivileged user (created on first use), in a folder of the run's own that holds
# its runtime folder and sockets: runs share nothing and may go side by side. Source this file, then call
# wayland_init before anything else.
#
# Needs: AWNING and AWNING_WAYLAND_DRIVER (tests/e2e/wayland-driver) in the environment.

source "$(dirname "${BASH_SOURCE[0]}")/desktop.sh"

WAYLAND_USER=${AWNING_TEST_USER:-awning-e2e}
# The output in pixels, at SCALE pixels per point (sway scales outputs: SCALE=2 is a HiDPI screen); the bar's
# height in points, and in pixel rows.
DESKTOP_WIDTH=1280
DESKTOP_HEIGHT=720
SCALE=${SCALE:-1}
BAR_HEIGHT=30
BAR_ROWS=$((BAR_HEIGHT * SCALE))
PANEL_HEIGHT=$BAR_ROWS
COMPOSITOR=

# wayland_init COMPOSITOR [TIME_LIMIT]: COMPOSITOR is sway or kwin.
wayland_init() {
    COMPOSITOR=$1
    desktop_require waybar convert setpriv
    case $COMPOSITOR in
        sway) desktop_require sway grim wtype ;;
        kwin) desktop_require kwin_wayland dbus-daemon ;;
    esac
    [[ -x ${AWNING_WAYLAND_DRIVER:-} ]] || {
        echo "AWNING_WAYLAND_DRIVER must name the driver" >&2
        exit 1
    }
    desktop_prepare "${2:-60}"
    RUNTIME=$DESKTOP_DIR/runtime
    mkdir -p "$DESKTOP_DIR/home/.config"
    wayland_user
    USER_ENV=(env -i HOME="$DESKTOP_DIR/home" XDG_RUNTIME_DIR="$RUNTIME" PATH=/usr/local/bin:/usr/bin:/bin
        LC_ALL=C.UTF-8 XDG_CONFIG_HOME="$DESKTOP_DIR/config" XDG_CACHE_HOME="$DESKTOP_DIR/cache"
        XDG_DATA_HOME="$DESKTOP_DIR/data")
    # Sanitizer builds keep their settings across the change of user.
    local name
    for name in ASAN_OPTIONS UBSAN_OPTIONS LSAN_OPTIONS; do
        [[ -z ${!name:-} ]] || USER_ENV+=("$name=${!name}")
    done
    qt_leak_options
    USER_ENV+=("${QT_LEAK_OPTIONS[@]}")
    "${AS_USER[@]}" test -x "$AWNING" -a -x "$AWNING_WAYLAND_DRIVER" ||
        fail "$WAYLAND_USER cannot run $AWNING: the build folder must be readable by others"
}

# wayland_user: AS_USER, the command prefix that runs a program as the desktop's user, and the run's folder
# made theirs.
wayland_user() {
    AS_USER=()
    if [[ $(id -u) -ne 0 ]]; then
        return
    fi
    # Several runs may create the user at once: one of them wins, and then it is there for all.
    id -u "$WAYLAND_USER" >/dev/null 2>&1 ||
        useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin "$WAYLAND_USER" \
            2>/dev/null || id -u "$WAYLAND_USER" >/dev/null 2>&1 || fail "cannot create the user $WAYLAND_USER"
    AS_USER=(setpriv --reuid="$WAYLAND_USER" --regid="$WAYLAND_USER" --init-groups)
    chown -R "$WAYLAND_USER:" "$DESKTOP_DIR"
}

# as_user COMMAND...: runs COMMAND as the desktop's user, in its environment, in the foreground.
as_user() { "${AS_USER[@]}" "${USER_ENV[@]}" "$@"; }

# wayland_spawn NAME COMMAND...: desktop_spawn as the desktop's user (setpriv and env exec, so the PID stays
# the program's).
wayland_spawn() {
    local name=$1
    shift
    desktop_spawn "$name" "${AS_USER[@]}" "${USER_ENV[@]}" "$@"
}

# wayland_socket: the compositor's socket name, once it listens.
wayland_socket() {
    local socket
    for socket in "$RUNTIME"/wayland-* "$RUNTIME"/awning-*; do
        [[ -S $socket ]] && basename "$socket" && return 0
    done
    return 1
}

wayland_start_compositor() {
    case $COMPOSITOR in
        sway) wayland_start_sway ;;
        kwin) wayland_start_kwin ;;
    esac
}

wayland_start_sway() {
    ROOT_COLOR=808080
    cat >"$DESKTOP_DIR/sway.conf" <<EOF
output * resolution ${DESKTOP_WIDTH}x$DESKTOP_HEIGHT scale $SCALE bg #$ROOT_COLOR solid_color
xwayland disable
default_border none
default_floating_border none
EOF
    wayland_spawn sway env WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
        sway -c "$DESKTOP_DIR/sway.conf"
    wait_until 10 wayland_socket >/dev/null || fail "sway did not start"
    USER_ENV+=(WAYLAND_DISPLAY="$(wayland_socket)")
    USER_ENV+=(SWAYSOCK="$(echo "$RUNTIME"/sway-ipc.*.sock)")
    log "sway on $(wayland_socket)"
}

wayland_start_kwin() {
    [[ $SCALE == 1 ]] || fail "KWin's outputs are tested at scale 1"
    ROOT_COLOR=000000
    # A session bus of the run's own, for KWin's screenshots: no service it could start (portals, keyrings).
    cat >"$DESKTOP_DIR/bus.conf" <<EOF
<busconfig>
  <type>session</type>
  <listen>unix:path=$RUNTIME/bus</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/><allow eavesdrop="true"/><allow own="*"/>
  </policy>
</busconfig>
EOF
    # WORKAROUND: kwin_wayland carries the file capability cap_sys_resource, and where the capability
    # bounding set lacks it (containers) starting it fails with EPERM. A copy without the capability runs.
    cp "$(command -v kwin_wayland)" "$DESKTOP_DIR/kwin_wayland"
    [[ ${#AS_USER[@]} -eq 0 ]] || chown -R "$WAYLAND_USER:" "$DESKTOP_DIR"
    wayland_spawn dbus dbus-daemon --config-file="$DESKTOP_DIR/bus.conf" --nofork --nopidfile
    wait_until 10 test -S "$RUNTIME/bus" || fail "the session bus did not start"
    USER_ENV+=(DBUS_SESSION_BUS_ADDRESS="unix:path=$RUNTIME/bus")
    # The fake-input and screenshot interfaces are KWin's own clients' unless it checks no permissions.
    wayland_spawn kwin env KWIN_WAYLAND_NO_PERMISSION_CHECKS=1 KWIN_SCREENSHOT_NO_PERMISSION_CHECKS=1 \
        "$DESKTOP_DIR/kwin_wayland" --virtual --no-lockscreen --socket awning-kwin \
        --width "$DESKTOP_WIDTH" --height "$DESKTOP_HEIGHT"
    wait_until 20 wayland_socket >/dev/null || fail "kwin_wayland did not start"
    USER_ENV+=(WAYLAND_DISPLAY="$(wayland_socket)")
    log "kwin_wayland on $(wayland_socket)"
}

# wayland_start_bar top|bottom: waybar along that edge, one solid colour (its text too), whose one item
# leaves $RUNTIME/bar-clicked when clicked; sets BAR_PID.
wayland_start_bar() {
    local position=$1
    cat >"$DESKTOP_DIR/waybar.json" <<EOF
{"layer": "top", "position": "$position", "height": $BAR_HEIGHT, "spacing": 0,
 "modules-left": ["custom/trace"],
 "custom/trace": {"format": "trace", "on-click": "touch $RUNTIME/bar-clicked"}}
EOF
    cat >"$DESKTOP_DIR/waybar.css" <<EOF
* { border: none; border-radius: 0; min-height: 0; margin: 0; padding: 0; font-size: 12px; }
window#waybar, #custom-trace { background: #$PANEL_COLOR; color: #$PANEL_COLOR; }
EOF
    wayland_spawn "waybar-$position" env NO_AT_BRIDGE=1 GTK_USE_PORTAL=0 \
        waybar -c "$DESKTOP_DIR/waybar.json" -s "$DESKTOP_DIR/waybar.css"
    BAR_PID=$SPAWNED_PID
    local row=2
    [[ $position == top ]] || row=$((DESKTOP_HEIGHT - 3))
    wait_until 15 pixel_near_is "$((DESKTOP_WIDTH / 2))" "$row" "$PANEL_COLOR" 40 ||
        fail "waybar did not show at the $position"
    log "waybar at the $position (pid $BAR_PID)"
}

# pixel_near_is X Y RRGGBB TOLERANCE: a fresh screenshot has about that colour there.
pixel_near_is() {
    shoot || return 1
    near "$(pixel "$1" "$2")" "$3" "$4"
}

# shoot: a screenshot of the whole output into $SHOT.
shoot() {
    SHOT="$DESKTOP_DIR/shot.png"
    rm -f "$SHOT"
    case $COMPOSITOR in
        sway) as_user grim "$SHOT" ;;
        kwin) as_user "$AWNING_WAYLAND_DRIVER" kwin-screenshot "$SHOT" ;;
    esac
}

# driver ARGS...: the pointer, keys and windows of tests/e2e/wayland-driver, as the desktop's user.
driver() { as_user "$AWNING_WAYLAND_DRIVER" "$@"; }

# wayland_start_awning [NAME] [DEFAULTS...]: Awning on the desktop with those defaults (the first start's
# settings window left out unless NAME is given as "settings"); sets AWNING_PID and AWNING_ENV.
wayland_start_awning() {
    local name=${1:-awning}
    shift || true
    if [[ $name == settings ]]; then
        write_defaults "$@"
    else
        write_defaults '<key>Shown Settings</key><true/>' "$@"
    fi
    [[ ${#AS_USER[@]} -eq 0 ]] || chown -R "$WAYLAND_USER:" "$DESKTOP_DIR/config"
    AWNING_ENV=("${AS_USER[@]}" "${USER_ENV[@]}")
    desktop_spawn "$name" "${AWNING_ENV[@]}" "$AWNING"
    AWNING_PID=$SPAWNED_PID
    log "awning started (pid $AWNING_PID)"
}

awning_status() { "${AWNING_ENV[@]}" "$AWNING" --status; }
