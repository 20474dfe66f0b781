#include "hosts/qt/x11/X11Activation.h"

#include <X11/Xlib.h>

#include "hosts/qt/x11/X11ErrorHandler.h"
#include "hosts/qt/x11/X11Properties.h"

namespace qthost {

namespace {

constexpr long sourceUserTool = 2;

bool windowManagerRuns(Display* display, Window root) {
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
    X11RootRecord record;
    record.supportingWindowManagerCheck = readLong(display, root, check, AnyPropertyType);
    if (record.supportingWindowManagerCheck) {
        record.checkWindowNames =
            readLong(display, *record.supportingWindowManagerCheck, check, AnyPropertyType);
    }
    return windowManagerIsLive(record);
}

}  // namespace

void activateX11Window(Display* display, X11WindowId window) {
    if (!display || !window) {
        return;
    }
    // A check window that is gone, or a window not yet viewable, must not end the process.
    X11ErrorHandler::install();
    const Window root = DefaultRootWindow(display);
    if (windowManagerRuns(display, root)) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = sourceUserTool;
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(display, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    } else {
        XRaiseWindow(display, window);
        XSetInputFocus(display, window, RevertToParent, CurrentTime);
    }
    XFlush(display);
}

}  // namespace qthost
