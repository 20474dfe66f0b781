#include "hosts/qt/x11/X11WindowHints.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <vector>

#include "hosts/qt/x11/X11ErrorHandler.h"
#include "hosts/qt/x11/X11Properties.h"

namespace qthost {

void keepOutOfTaskLists(Display* display, X11WindowId window) {
    if (!display || !window) {
        return;
    }
    X11ErrorHandler::install();
    const Atom state = XInternAtom(display, "_NET_WM_STATE", False);
    std::vector<unsigned long> states = readLongs(display, window, state, XA_ATOM).value_or(std::vector<unsigned long>{});
    for (const char* name : {"_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"}) {
        const Atom atom = XInternAtom(display, name, False);
        if (std::find(states.begin(), states.end(), atom) == states.end()) {
            states.push_back(atom);
        }
    }
    XChangeProperty(display, window, state, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(states.data()), static_cast<int>(states.size()));
    XFlush(display);
}

void rewriteOpacity(Display* display, X11WindowId window) {
    if (!display || !window) {
        return;
    }
    X11ErrorHandler::install();
    const Atom opacity = XInternAtom(display, "_NET_WM_WINDOW_OPACITY", False);
    const std::optional<std::vector<unsigned long>> value = readLongs(display, window, opacity, XA_CARDINAL);
    if (!value || value->empty()) {
        return;
    }
    const long item = static_cast<long>(value->front());
    XChangeProperty(display, window, opacity, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&item), 1);
    XFlush(display);
}

}  // namespace qthost
