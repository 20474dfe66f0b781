#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace qthost {

// Where the main bundle is: $AWNING_BUNDLE_DIR, beside the executable, or installed.
std::filesystem::path desktopBundleDirectory();
// "" when the bundle's Info.plist is there; else where it was looked for ("no Info.plist in A, B or C").
std::string missingBundleReason();

// What the running instance does for later launches that ask for more than a reopen.
struct DesktopCommands {
    // Runs for every later `awning --relaunch`.
    std::function<void()> relaunch;
    // Opens the About panel: for every later `awning --about`, and once launched when `aboutRequested`
    // (this launch asked for it and no instance was running to show it).
    std::function<void()> showAbout;
    bool aboutRequested = false;
};

// The desktop application's entry point: says in one line why it cannot run when the session cannot host the
// tint (no X11 display, a Wayland compositor without layer-shell) or there is no bundle (status 1), else
// starts Qt on the session's platform, hands a second launch over to the running instance (which reopens, or
// runs the command asked for), opens the desktop session, installs the Qt host and runs the kit's application
// main routine (the main interface file must already be registered). Returns the exit status.
int runDesktopApplication(int argc, char** argv, const DesktopCommands& commands = {});
// Asks the running instance to relaunch; false when no instance runs.
bool requestRelaunchOfRunningInstance(int argc, char** argv);
// `awning --status`: prints the running instance's account of the bar; status 1 when none runs.
int printDesktopStatus(int argc, char** argv);

}  // namespace qthost
