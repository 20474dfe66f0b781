#!/usr/bin/env bash
# package.sh SOURCE BUILD: makes the Debian package from the built tree, lints it, installs it on this
# machine with apt, checks that Awning runs from /usr/bin and that its launcher, icons, metainfo and manual
# are where the desktop looks for them and pass their validators, then removes it and checks that nothing
# of it is left. Needs root (apt); skipped otherwise, and when an Awning package is already installed,
# which the test would replace and remove.
set -euo pipefail
[[ $# -eq 2 ]] || { echo "usage: package.sh SOURCE BUILD" >&2; exit 2; }
source_dir=$1 build=$2
id=com.larkspur.Awning

skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAIL: $*" >&2; exit 1; }
step() { echo "--- $*"; }
installed() { [[ $(dpkg-query -W -f='${db:Status-Status}' awning 2>/dev/null) == installed ]]; }

[[ $(id -u) -eq 0 ]] || skip "installing the package needs root (CI runs the suite as root)"
for tool in apt-get lintian desktop-file-validate appstreamcli man cpack; do
    command -v "$tool" >/dev/null || skip "$tool is missing (scripts/setup installs it)"
done
# One package test on the machine at a time: every tree installs the same package.
exec 9>/run/lock/awning-package-test.lock
flock 9
installed && skip "an Awning package is already installed; the test would replace and remove it"

step "making the package"
deb=$("$source_dir/scripts/package" "$build")
echo "$deb"
version=$(env -u AWNING_BUNDLE_DIR "$build/bin/awning" --version | cut -d' ' -f2)
[[ $(basename "$deb") == "awning_${version}_$(dpkg --print-architecture).deb" ]] ||
    fail "$deb is not named for version $version"
depends=$(dpkg-deb --field "$deb" Depends)
echo "Depends: $depends"
[[ $depends == *libqt6gui6* && $depends == *libc6* ]] || fail "the dependencies were not read from the executable"

step "lintian"
lintian --fail-on error,warning --display-info "$deb" || fail "lintian reports the package"

step "installing"
# Whatever happens below, the machine is left without the package.
trap 'installed && apt-get remove -y awning >/dev/null 2>&1' EXIT
DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "$deb" >/dev/null
installed || fail "apt did not install $deb"
mapfile -t owned < <(dpkg-query -L awning)

step "running /usr/bin/awning"
run() { env -u AWNING_BUNDLE_DIR -u QT_QPA_PLATFORM /usr/bin/awning "$@"; }
[[ $(run --version) == "Awning $version" ]] || fail "/usr/bin/awning --version says \"$(run --version)\""
[[ $(run --help) == "$(env -u AWNING_BUNDLE_DIR "$build/bin/awning" --help)" ]] || fail "--help differs from the build's"
[[ $(command -v awning) == /usr/bin/awning ]] || fail "awning is not found on PATH"

step "the launcher"
launcher=/usr/share/applications/$id.desktop
desktop-file-validate "$launcher" || fail "$launcher does not validate"
grep -qx "Exec=awning" "$launcher" || fail "the launcher does not start awning"
icon=$(sed -n 's/^Icon=//p' "$launcher")
for size in scalable/apps/$icon.svg 16x16/apps/$icon.png 48x48/apps/$icon.png 256x256/apps/$icon.png; do
    [[ -s /usr/share/icons/hicolor/$size ]] || fail "no icon $icon in hicolor/$size"
done
[[ $(identify -format '%wx%h' "/usr/share/icons/hicolor/48x48/apps/$icon.png") == 48x48 ]] ||
    fail "the 48-pixel icon is not 48 pixels wide and high"

step "the metainfo"
metainfo=/usr/share/metainfo/$id.metainfo.xml
# --no-net: the machine may have no network, and the screenshot's address is the product page's.
appstreamcli validate --no-net --pedantic "$metainfo" || fail "$metainfo does not validate"
launchable=$(sed -n 's|.*<launchable type="desktop-id">\(.*\)</launchable>.*|\1|p' "$metainfo")
[[ -f /usr/share/applications/$launchable ]] || fail "the metainfo launches $launchable, which is not installed"
grep -q "<release version=\"$version\" date=" "$metainfo" || fail "the metainfo names no release $version"

step "the manual"
page=$(man -w awning) || fail "man does not find awning(1)"
[[ $page == /usr/share/man/man1/awning.1.gz ]] || fail "man finds awning(1) at $page"
bash "$source_dir/tests/app/manual-page.sh" /usr/bin/awning "$page"

# Everything `cmake --install` installs comes along, the GNOME Shell extension included.
if [[ -d $source_dir/gnome-shell/extension ]]; then
    step "the GNOME Shell extension"
    [[ -f /usr/share/gnome-shell/extensions/awning@larkspur.example/metadata.json ]] ||
        fail "the package does not carry the GNOME Shell extension"
fi

step "removing"
DEBIAN_FRONTEND=noninteractive apt-get remove -y awning >/dev/null
installed && fail "apt did not remove awning"
left=()
for path in "${owned[@]}"; do
    # A folder another package owns too (/usr/share/applications) stays, as it should.
    if [[ -e $path ]] && ! [[ -d $path && -n $(dpkg-query -S "$path" 2>/dev/null) ]]; then
        left+=("$path")
    fi
done
[[ ${#left[@]} -eq 0 ]] || fail "left after removal: ${left[*]}"
echo "installed, checked and removed ${#owned[@]} paths of awning $version"
