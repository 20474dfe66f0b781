#pragma once

#include <functional>

namespace qthost {

// The desktop application's entry point: starts Qt on X11, hands a second launch over to the running
// instance (which reopens), installs the Qt host and runs the kit's application main routine (the main
// interface file must already be registered). Returns the exit status.
int runDesktopApplication(int argc, char** argv);

// --- The About command from the command line
// `show` opens the About panel; a running instance runs it for every later `awning --about`, and with
// `requested` this launch asks for it: the running instance shows it, or this one once launched.
struct AboutCommand {
    std::function<void()> show;
    bool requested = false;
};
int runDesktopApplication(int argc, char** argv, const AboutCommand& about);

}  // namespace qthost
