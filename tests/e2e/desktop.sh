# shellcheck shell=bash disable=SC2034  # the variables set here are read by the scripts sourcing it
# Private X desktop for end-to-end runs: Xvfb, a compositing manager, the stand-in top panel and
# Awning, each started in the background with its PID recorded. Source this file, then call
# desktop_init before anything else; an EXIT trap stops every recorded process in reverse order.
#
# Needs: AWNING (the awning executable) and AWNING_DEMO_PANEL (the stand-in panel) in the environment.

DESKTOP_WIDTH=${DESKTOP_WIDTH:-640}
DESKTOP_HEIGHT=${DESKTOP_HEIGHT:-480}
PANEL_COLOR=${PANEL_COLOR:-a9bcd0}
PANEL_HEIGHT=${PANEL_HEIGHT:-28}
PANEL_TALL_HEIGHT=${PANEL_TALL_HEIGHT:-40}
# The colour xcompmgr paints the root window with.
ROOT_COLOR=808080

DESKTOP_PIDS=()
DESKTOP_KEEP=${DESKTOP_KEEP:-0}

log() { printf '[%6.2fs] %s\n' "$(elapsed_since "$DESKTOP_T0")" "$*" >&2; }
fail() {
    log "FAIL: $*"
    exit 1
}

now() { date +%s.%N; }
elapsed_since() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.2f", b - a }'; }

# nap SECONDS: a sleep that lets the EXIT trap run at once when a signal arrives.
nap() {
    sleep "$1" &
    NAP_PID=$!
    wait "$NAP_PID" || true
}

# desktop_require TOOL...: skips the test (status 77) unless every TOOL is installed.
desktop_require() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || {
            echo "skipped: $tool is not installed" >&2
            exit 77
        }
    done
}

# desktop_init [TIME_LIMIT]: work directory, cleanup trap and a watchdog that ends the run (through
# the trap) before an outer harness would kill it hard and leave the X server behind.
desktop_init() {
    desktop_require Xvfb xcompmgr xdotool import convert
    [[ -x ${AWNING_DEMO_PANEL:-} ]] || {
        echo "AWNING_DEMO_PANEL must name the stand-in panel" >&2
        exit 1
    }
    desktop_prepare "$@"
}

# desktop_prepare [TIME_LIMIT]: what every desktop needs, whatever its kind: Awning, the work directory,
# the cleanup trap and the watchdog.
desktop_prepare() {
    local limit=${1:-60}
    DESKTOP_T0=$(now)
    [[ -x ${AWNING:-} ]] || {
        echo "AWNING must name the executable" >&2
        exit 1
    }
    # Window sizes depend on the fonts: the same ones on every machine.
    export FONTCONFIG_FILE=${BASH_SOURCE[0]%/*}/fonts.conf
    DESKTOP_DIR=$(mktemp -d "${TMPDIR:-/tmp}/awning-desktop.XXXXXX")
    mkdir -p "$DESKTOP_DIR/config/awning" "$DESKTOP_DIR/runtime" "$DESKTOP_DIR/cache" "$DESKTOP_DIR/data"
    chmod 700 "$DESKTOP_DIR/runtime"
    local parent=$$
    (
        trap 'kill "$timer" 2>/dev/null; exit 0' TERM
        sleep "$limit" &
        timer=$!
        wait "$timer"
        echo "time limit of ${limit}s reached" >&4
        kill -TERM "$parent"
    ) 4>&2 2>/dev/null &
    DESKTOP_WATCHDOG=$!
    # Set only now, so that the watchdog's subshell does not inherit them.
    trap desktop_cleanup EXIT
    trap 'exit 143' TERM
    trap 'exit 130' INT
}

# qt_leak_options: QT_LEAK_OPTIONS, sanitizer settings for Awning on Wayland: leak stacks that reach Qt's own
# frames (slow unwinding), so that Qt's and GTK's known leaks at a handing-over launch's exit are suppressed
# by name (qt-wayland.supp).
qt_leak_options() {
    QT_LEAK_OPTIONS=("ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}fast_unwind_on_malloc=0"
        "LSAN_OPTIONS=${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=${BASH_SOURCE[0]%/*}/qt-wayland.supp")
}

# desktop_spawn NAME COMMAND...: runs COMMAND in the background with its output in NAME.out/.err.
desktop_spawn() {
    local name=$1
    shift
    "$@" >"$DESKTOP_DIR/$name.out" 2>"$DESKTOP_DIR/$name.err" &
    SPAWNED_PID=$!
    DESKTOP_PIDS+=("$SPAWNED_PID")
}

# stop_pid PID: SIGTERM, then SIGKILL after a grace period.
stop_pid() {
    local pid=$1 tries
    kill -TERM "$pid" 2>/dev/null || return 0
    for ((tries = 0; tries < 30; tries++)); do
        kill -0 "$pid" 2>/dev/null || break
        nap 0.1
    done
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

desktop_cleanup() {
    local status=$? i
    trap - EXIT TERM INT
    [[ -z ${NAP_PID:-} ]] || kill "$NAP_PID" 2>/dev/null || true
    for ((i = ${#DESKTOP_PIDS[@]} - 1; i >= 0; i--)); do
        stop_pid "${DESKTOP_PIDS[i]}"
    done
    if [[ -n ${DESKTOP_WATCHDOG:-} ]]; then
        { kill -TERM "$DESKTOP_WATCHDOG" && wait "$DESKTOP_WATCHDOG"; } 2>/dev/null || true
    fi
    # Sanitizer reports do not always end the process; any of them fails the run.
    if [[ $status -eq 0 ]] && grep -slE 'ERROR: (Address|Leak)Sanitizer|runtime error:' "$DESKTOP_DIR"/*.err >&2; then
        echo "^ sanitizer reports in these files" >&2
        status=1
    fi
    if [[ $status -ne 0 ]]; then
        for f in "$DESKTOP_DIR"/*.err; do
            [[ -s $f ]] && { echo "--- ${f##*/}"; tail -n 20 "$f"; }
        done >&2
        echo "artifacts kept in $DESKTOP_DIR" >&2
    elif [[ $DESKTOP_KEEP == 0 ]]; then
        rm -rf "$DESKTOP_DIR"
    fi
    exit "$status"
}

# wait_until SECONDS COMMAND...: polls COMMAND every 0.1 s; fails when it never succeeds in time.
wait_until() {
    local limit=$1
    shift
    local start
    start=$(now)
    until "$@"; do
        if awk -v a="$start" -v b="$(now)" -v l="$limit" 'BEGIN { exit !(b - a > l) }'; then
            return 1
        fi
        nap 0.1
    done
}

desktop_start_xvfb() {
    desktop_spawn xvfb Xvfb -displayfd 3 -screen 0 "${DESKTOP_WIDTH}x${DESKTOP_HEIGHT}x24" \
        -nolisten tcp -br 3>"$DESKTOP_DIR/display"
    wait_until 10 grep -q . "$DESKTOP_DIR/display" || fail "Xvfb did not start"
    DISPLAY=":$(head -n 1 "$DESKTOP_DIR/display")"
    export DISPLAY
    log "Xvfb on $DISPLAY"
}

desktop_start_compositor() {
    desktop_spawn xcompmgr xcompmgr
    # Xvfb's root starts black; the compositor paints it grey as soon as it runs, provided some
    # window is already mapped (else it waits for the first damage): start the panel first.
    wait_until 10 pixel_is "$((DESKTOP_WIDTH - 1))" "$((DESKTOP_HEIGHT - 1))" "$ROOT_COLOR" 0 ||
        fail "compositor did not start"
}

# desktop_start_openbox: a window manager for the tests about managed windows; skips the test (77)
# where openbox is not installed.
desktop_start_openbox() {
    desktop_require openbox
    desktop_spawn openbox openbox --config-file /dev/null
    wait_until 10 xprop -root _NET_SUPPORTING_WM_CHECK >/dev/null 2>&1 || fail "openbox did not start"
}

# desktop_start_panel: sets PANEL_PID and PANEL_WINDOW.
desktop_start_panel() {
    desktop_spawn panel "$AWNING_DEMO_PANEL" --color "$PANEL_COLOR" --height "$PANEL_HEIGHT" \
        --tall-height "$PANEL_TALL_HEIGHT"
    PANEL_PID=$SPAWNED_PID
    wait_until 10 grep -q '^ready' "$DESKTOP_DIR/panel.out" || fail "panel did not start"
    PANEL_WINDOW=$(awk '/^ready/ { print $2; exit }' "$DESKTOP_DIR/panel.out")
    # Park the pointer well away from the panel.
    xdotool mousemove "$((DESKTOP_WIDTH / 2))" "$((DESKTOP_HEIGHT - 40))"
}

# write_defaults XML...: Awning's defaults file, one "<key>…</key><value/>" fragment per argument.
write_defaults() {
    {
        echo '<?xml version="1.0" encoding="UTF-8"?>'
        echo '<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">'
        echo '<plist version="1.0">'
        echo '<dict>'
        printf '    %s\n' "$@"
        echo '</dict>'
        echo '</plist>'
    } >"$DESKTOP_DIR/config/awning/com.larkspur.Awning.plist"
}

# stored KEY: the real stored under KEY in the defaults file, or nothing.
stored() {
    awk -v key="<key>$1</key>" '
        found { if (match($0, /<real>[^<]*<\/real>/)) print substr($0, RSTART + 6, RLENGTH - 13); exit }
        index($0, key) { found = 1 }' "$DESKTOP_DIR/config/awning/com.larkspur.Awning.plist" 2>/dev/null
}

# Awning's private per-run environment, as a command prefix (env execs, so PIDs stay Awning's).
awning_env() {
    AWNING_ENV=(env XDG_CONFIG_HOME="$DESKTOP_DIR/config" XDG_RUNTIME_DIR="$DESKTOP_DIR/runtime"
        XDG_CACHE_HOME="$DESKTOP_DIR/cache" XDG_DATA_HOME="$DESKTOP_DIR/data"
        QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8)
}

# desktop_start_awning [NAME]: sets AWNING_PID; does not wait for the tint.
desktop_start_awning() {
    awning_env
    desktop_spawn "${1:-awning}" "${AWNING_ENV[@]}" "$AWNING"
    AWNING_PID=$SPAWNED_PID
    log "awning started (pid $AWNING_PID)"
}

# desktop_launch_again: a second launch, which must hand a reopen to the running Awning and exit 0;
# AWNING_PID stays the running one.
desktop_launch_again() {
    local running=$AWNING_PID second status=0
    desktop_start_awning second
    second=$AWNING_PID
    AWNING_PID=$running
    wait_until 20 eval '! kill -0 "$second" 2>/dev/null' || fail "the second launch kept running"
    wait "$second" || status=$?
    [[ $status -eq 0 ]] || fail "the second launch exited with status $status"
    log "second launch exited 0"
}

# --- Pixels ------------------------------------------------------------------------------------

SHOT=

# Colour arithmetic shared by the checks below. The default gradient's opacity at height t (0 at
# the bottom, 1 at the top): opaque black at the bottom, 20% black halfway up, clear at the top.
AWK_LIB='
function gradient_alpha(t) {
    if (t < 0) t = 0
    if (t > 1) t = 1
    return t < 0.5 ? 1 - 0.8 * (t / 0.5) : 0.2 - 0.2 * ((t - 0.5) / 0.5)
}
function hex(s,   n, i) {
    n = 0
    for (i = 1; i <= length(s); i++) n = n * 16 + index("0123456789abcdef", tolower(substr(s, i, 1))) - 1
    return n
}
# Black gradient at window opacity a over the panel colour, at the top and bottom edges of row y.
function blend(p, y, h, a, edge) { return p * (1 - a * gradient_alpha((h - y - edge) / h)) }
'

# shoot: a composited screenshot of the whole screen into $SHOT.
shoot() {
    SHOT="$DESKTOP_DIR/shot.png"
    import -window root "$SHOT"
}

# column X FIRST LAST: "y R G B" lines for one column of the last screenshot.
column() {
    convert "$SHOT" -crop "1x$(($3 - $2 + 1))+$1+$2" +repage -depth 8 txt:- |
        awk -v first="$2" -F'[:,() ]+' '!/^#/ { print $2 + first, $3, $4, $5 }'
}

# pixel X Y: "R G B" of the last screenshot.
pixel() { column "$1" "$2" "$2" | cut -d' ' -f2-; }

# near "R G B" RRGGBB TOLERANCE
near() {
    awk -v got="$1" -v want="$2" -v tol="$3" "$AWK_LIB"'BEGIN {
        split(got, g, " ")
        for (c = 0; c < 3; c++) {
            d = g[c + 1] - hex(substr(want, 2 * c + 1, 2))
            if (d > tol || -d > tol) exit 1
        }
    }'
}

# pixel_is X Y RRGGBB TOLERANCE: takes a new screenshot.
pixel_is() {
    shoot && near "$(pixel "$1" "$2")" "$3" "$4"
}

# --- The tint ----------------------------------------------------------------------------------

# tint_matches X HEIGHT OPACITY [TOLERANCE]: every row of the panel strip in the last screenshot is
# the panel colour under the default gradient at OPACITY, and the row below the strip is untouched.
# Rows are sampled anywhere between their top and bottom edges, so a half-row offset passes.
tint_matches() {
    local x=$1 h=$2 a=$3 tol=${4:-3}
    column "$x" 0 "$h" | awk -v h="$h" -v a="$a" -v tol="$tol" -v panel="$PANEL_COLOR" \
        -v root="$ROOT_COLOR" -v verbose="${TINT_VERBOSE:-0}" "$AWK_LIB"'
        {
            for (c = 0; c < 3; c++) {
                got = $(c + 2)
                if ($1 == h) {
                    lo = hi = hex(substr(root, 2 * c + 1, 2))
                } else {
                    p = hex(substr(panel, 2 * c + 1, 2))
                    lo = blend(p, $1, h, a, 1)
                    hi = blend(p, $1, h, a, 0)
                    if (lo > hi) { t = lo; lo = hi; hi = t }
                }
                if (got < lo - tol || got > hi + tol) {
                    bad = 1
                    if (verbose) printf "row %d channel %d: got %d, want %.1f..%.1f\n", $1, c, got, lo, hi > "/dev/stderr"
                }
            }
        }
        END { exit bad }'
}

# tint_shown HEIGHT [OPACITY]: a fresh screenshot shows the tint over a panel of HEIGHT rows at
# three places across the screen.
tint_shown() {
    local x
    shoot || return 1
    for x in 0 "$((DESKTOP_WIDTH / 2))" "$((DESKTOP_WIDTH - 1))"; do
        tint_matches "$x" "$1" "${2:-0.2}" || return 1
    done
}

# strip_plain HEIGHT COLOR: a fresh screenshot shows the strip's rows in COLOR, untinted.
strip_plain() {
    local x
    shoot || return 1
    for x in 0 "$((DESKTOP_WIDTH / 2))" "$((DESKTOP_WIDTH - 1))"; do
        column "$x" 0 "$(($1 - 1))" | awk -v want="$2" "$AWK_LIB"'{
            for (c = 0; c < 3; c++) {
                d = $(c + 2) - hex(substr(want, 2 * c + 1, 2))
                if (d > 2 || -d > 2) bad = 1
            }
        }
        END { exit bad }' || return 1
    done
}

# awning_strip_windows: Awning's viewable windows that lie along the top edge, one id a line.
awning_strip_windows() {
    local id WINDOW SCREEN X Y WIDTH HEIGHT
    for id in $(xdotool search --onlyvisible --pid "$AWNING_PID" 2>/dev/null); do
        X=-1 Y=-1 WIDTH=0 HEIGHT=0
        eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null)"
        [[ $Y -eq 0 && $WIDTH -eq $DESKTOP_WIDTH ]] && echo "$id"
    done
    return 0
}
no_strip_window() { [[ -z $(awning_strip_windows) ]]; }

# desktop_with_tint [DEFAULTS...]: the whole desktop with Awning tinting the panel.
desktop_with_tint() {
    desktop_start_xvfb
    desktop_start_panel
    desktop_start_compositor
    write_defaults '<key>Shown Settings</key><true/>' "$@"
    desktop_start_awning
    wait_until 20 tint_shown "$PANEL_HEIGHT" || {
        TINT_VERBOSE=1 tint_matches 0 "$PANEL_HEIGHT" 0.2
        fail "no tint over the panel"
    }
    log "tint shown"
}
