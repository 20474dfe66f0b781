#include "hosts/qt/x11/X11DesktopEvents.h"

#include <X11/Xlib.h>

#include "hosts/qt/x11/X11ErrorHandler.h"
#include "hosts/qt/x11/X11Properties.h"

namespace qthost {

std::unique_ptr<X11DesktopEvents> X11DesktopEvents::open() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        return nullptr;
    }
    X11ErrorHandler::install();
    const Atom currentDesktop = XInternAtom(display, "_NET_CURRENT_DESKTOP", False);
    const Atom activeWindow = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
    return std::unique_ptr<X11DesktopEvents>(new X11DesktopEvents(display, currentDesktop, activeWindow));
}

X11DesktopEvents::X11DesktopEvents(Display* display, unsigned long currentDesktopAtom,
                                   unsigned long activeWindowAtom)
    : _display(display),
      _root(DefaultRootWindow(display)),
      _currentDesktopAtom(currentDesktopAtom),
      _activeWindowAtom(activeWindowAtom) {
    // Select first, then read: a change in between arrives as an event rather than being missed.
    XSelectInput(_display, _root, PropertyChangeMask);
    _currentDesktop = readCurrentDesktop();
    _activeWindow = readActiveWindow();
}

X11DesktopEvents::~X11DesktopEvents() {
    XCloseDisplay(_display);
}

int X11DesktopEvents::fileDescriptor() const {
    return ConnectionNumber(_display);
}

X11DesktopEvents::Changes X11DesktopEvents::drain() {
    Changes changes;
    // Reading a property pulls any events that came meanwhile into Xlib's queue, where the descriptor no
    // longer shows them: go on until the queue stays empty.
    while (XPending(_display) > 0) {
        bool desktopTouched = false;
        bool activeWindowTouched = false;
        while (XPending(_display) > 0) {
            XEvent event;
            XNextEvent(_display, &event);
            if (event.type == PropertyNotify && event.xproperty.window == _root) {
                desktopTouched |= event.xproperty.atom == _currentDesktopAtom;
                activeWindowTouched |= event.xproperty.atom == _activeWindowAtom;
            }
        }
        if (desktopTouched) {
            const int desktop = readCurrentDesktop();
            changes.currentDesktop |= desktop != _currentDesktop;
            _currentDesktop = desktop;
        }
        if (activeWindowTouched) {
            const unsigned long window = readActiveWindow();
            changes.activeWindow |= window != _activeWindow;
            _activeWindow = window;
        }
    }
    return changes;
}

// Read whatever type was written: tools and window managers differ.
int X11DesktopEvents::readCurrentDesktop() const {
    return static_cast<int>(readLong(_display, _root, _currentDesktopAtom, AnyPropertyType).value_or(0));
}

unsigned long X11DesktopEvents::readActiveWindow() const {
    return readLong(_display, _root, _activeWindowAtom, AnyPropertyType).value_or(0);
}

}  // namespace qthost
