#include "hosts/qt/gnome/GnomeExtensionStatus.h"

namespace qthost {

namespace {

constexpr double enabled = 1;
constexpr double failed = 3;
constexpr double outOfDate = 4;

std::string enableCommand() {
    return std::string("gnome-extensions enable ") + gnomeExtensionUuid;
}

}  // namespace

std::string gnomeExtensionInstruction(const std::optional<GnomeExtensionInfo>& info) {
    const std::string prefix = "Awning tints GNOME's top bar through its GNOME Shell extension, ";
    if (!info) {
        return "Awning cannot reach GNOME Shell on the session bus, so it cannot tint the top bar.";
    }
    if (!info->known) {
        // GNOME Shell on Wayland reads its extension folders only when the session starts.
        return prefix + "which GNOME Shell does not know: install Awning's package (or put the extension in "
                        "~/.local/share/gnome-shell/extensions/" +
               gnomeExtensionUuid + "), log out and back in, then run: " + enableCommand();
    }
    if (info->state == failed) {
        return prefix + "which failed to start (" + (info->error.empty() ? "no reason given" : info->error) +
               "): GNOME Shell's log says more (journalctl --user -b /usr/bin/gnome-shell).";
    }
    if (info->state == outOfDate) {
        return prefix + "which does not declare this version of GNOME Shell: install the Awning made for it.";
    }
    if (info->state == enabled) {
        return prefix + "which is enabled but does not answer on the session bus: run gnome-extensions disable " +
               gnomeExtensionUuid + " and then " + enableCommand();
    }
    return prefix + "which is not enabled: run " + enableCommand();
}

}  // namespace qthost
