#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "hosts/qt/x11/WindowListTranslation.h"
#include "kit/foundation/PropertyList.h"

struct _XDisplay;

namespace qthost {

// Reads the X server's top-level windows over a connection of its own. Plain C++ on the outside: Xlib's
// macros stay in the source file.
class X11WindowList {
public:
    // nullptr when no X display can be opened.
    static std::unique_ptr<X11WindowList> open();
    ~X11WindowList();
    X11WindowList(const X11WindowList&) = delete;
    X11WindowList& operator=(const X11WindowList&) = delete;

    // The window server's list, frontmost first. `screens` (root pixels, primary first) and `scale` (pixels
    // per point) come from the caller, which knows the screens; so do the mapped top-level windows that
    // bypass the window manager, bottom to top, which its list leaves out. Unless `windowsChanged`, the
    // windows read for the last list stand: nothing is asked of the server.
    kit::PropertyList::Array windowList(std::uint32_t options, const std::vector<PixelRect>& screens,
                                        double scale, const std::vector<X11WindowId>& unmanaged,
                                        bool windowsChanged);
    // What the last list found, for a user asking why the bar looks as it does.
    struct Finding {
        std::optional<X11WindowRecord> panel;  // the window taken as the menu bar
        bool reservedStrip = false;            // the menu bar is a strip reserved with no window of its own
        bool compositing = false;
        std::uint64_t requests = 0;  // X requests the list took
    };
    const Finding& lastFinding() const { return _lastFinding; }

    // Marks one of our own windows, over the connection that created it (so the marker follows the window's
    // creation), so that no scan takes it for another application's window.
    static void markAsAwningWindow(_XDisplay* display, X11WindowId window);

private:
    struct Atoms;
    struct Reading {
        std::uint32_t options = 0;
        X11RootRecord root;
        std::vector<X11WindowRecord> windows;
        kit::PropertyList::Array list;  // as translated for root's screens and scale
    };
    X11WindowList(_XDisplay* display, std::unique_ptr<Atoms> atoms);

    Reading read(std::uint32_t options, const std::vector<X11WindowId>& unmanaged) const;
    X11RootRecord readRoot() const;
    std::vector<X11WindowId> queryTree() const;
    std::optional<X11WindowRecord> describe(X11WindowId window, bool onScreenOnly) const;
    int readTopStrut(X11WindowId window) const;
    void reportCompositing(bool compositing);
    void noteFinding(const kit::PropertyList::Array& list);

    _XDisplay* _display;
    std::unique_ptr<Atoms> _atoms;
    X11WindowId _root;
    bool _reportedNoCompositor = false;
    std::optional<Reading> _lastReading;
    Finding _lastFinding;
};

}  // namespace qthost
