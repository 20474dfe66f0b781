#pragma once

#include <functional>

namespace qthost {

// The desktop application's entry point: starts Qt on X11, hands a second launch over to the running
// instance (which reopens), installs the Qt host and runs the kit's application main routine (the main
// interface file must already be registered). Returns the exit status.
int runDesktopApplication(int argc, char** argv);
// The same; `relaunch` runs in the running instance when a later launch asks it to relaunch.
int runDesktopApplication(int argc, char** argv, std::function<void()> relaunch);
// Asks the running instance to relaunch; false when no instance runs.
bool requestRelaunchOfRunningInstance(int argc, char** argv);

}  // namespace qthost
