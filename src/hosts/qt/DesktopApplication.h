#pragma once

namespace qthost {

// The desktop application's entry point: starts Qt on X11, hands a second launch over to the running
// instance (which reopens), installs the Qt host and runs the kit's application main routine (the main
// interface file must already be registered). Returns the exit status.
int runDesktopApplication(int argc, char** argv);

}  // namespace qthost
