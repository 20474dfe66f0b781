#pragma once

#include <memory>

struct _XDisplay;

namespace qthost {

// Watches the root window for the desktop switching and the active window changing, over a connection of
// its own whose descriptor the caller watches. Plain C++ on the outside: Xlib stays in the source file.
class X11DesktopEvents {
public:
    struct Changes {
        bool currentDesktop = false;
        bool activeWindow = false;
    };

    // nullptr when no X display can be opened.
    static std::unique_ptr<X11DesktopEvents> open();
    ~X11DesktopEvents();
    X11DesktopEvents(const X11DesktopEvents&) = delete;
    X11DesktopEvents& operator=(const X11DesktopEvents&) = delete;

    // Readable when the server sent something.
    int fileDescriptor() const;
    // Handles every event the connection holds; what changed since the last call.
    Changes drain();
    // _NET_CURRENT_DESKTOP as last seen; 0 when the desktop publishes none.
    int currentDesktop() const { return _currentDesktop; }

private:
    X11DesktopEvents(_XDisplay* display, unsigned long currentDesktopAtom, unsigned long activeWindowAtom);
    int readCurrentDesktop() const;
    unsigned long readActiveWindow() const;

    _XDisplay* _display;
    unsigned long _root;
    unsigned long _currentDesktopAtom;
    unsigned long _activeWindowAtom;
    int _currentDesktop = 0;
    unsigned long _activeWindow = 0;
};

}  // namespace qthost
