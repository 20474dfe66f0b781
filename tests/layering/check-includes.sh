#!/usr/bin/env bash
# The dependency rule, checked on every include: system code -> kit -> the host interface. Only the entry
# point (app/main.cpp) and the scenario runner may know a concrete host.
set -uo pipefail
src=${1:?usage: check-includes.sh SRC_DIR}
cd "$src" || exit 2
status=0

# forbid FOLDERS PATTERN WHY [ALLOWED]: no file under FOLDERS includes a header matching PATTERN, unless it
# is the header ALLOWED.
forbid() {
    local folders=$1 pattern=$2 why=$3 allowed=${4:-} hits
    # shellcheck disable=SC2086
    hits=$(grep -rnE "^#include [<\"]($pattern)" $folders --include='*.h' --include='*.cpp' 2>/dev/null |
        grep -v '^app/main\.cpp:' | { [[ -n $allowed ]] && grep -vF "#include \"$allowed\"" || cat; })
    if [[ -n $hits ]]; then
        printf '%s:\n%s\n' "$why" "$hits"
        status=1
    fi
}

system=$(ls -d app tint toolkit update about statusitem 2>/dev/null | tr '\n' ' ')
forbid "kit/core" "kit/(foundation|appkit|quartz|graphics)/" "the kit's core includes nothing above it"
forbid "kit" "(app|tint|toolkit|update|about|statusitem|scenario|hosts)/" "the kit never includes system or host code"
forbid "$system" "hosts/|scenario/|Q[A-Za-z]+[>\"]|X11/|xcb/" "system code knows no host, Qt or X11"

# The Qt host's rooms: the host itself at the top, widgets/ presenting kit views, desktop/ services, and
# one folder per kind of session that the host picks at start. A session sees of the host only the seam
# every session implements.
qt=hosts/qt
for session in x11 wayland gnome; do
    [[ -d $qt/$session ]] || continue
    others=$(printf '%s|' x11 wayland gnome | sed "s/$session|//; s/|$//")
    forbid "$qt/$session" "$qt/($others|widgets|desktop)/|$qt/[A-Za-z]+\\.h" \
        "a session's folder knows only itself, the kit and the seam (DesktopSession.h): the host chooses" \
        "$qt/DesktopSession.h"
done
forbid "$qt/desktop" "$qt/widgets/" "the desktop services present nothing"
forbid "$qt/widgets" "$qt/desktop/" "the widgets present the kit, not the desktop's services"
exit $status
