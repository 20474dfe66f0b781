#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "hosts/qt/x11/WindowListTranslation.h"
#include "hosts/qt/x11/X11WindowModel.h"
#include "kit/foundation/PropertyList.h"

struct _XDisplay;
struct xcb_connection_t;

namespace qthost {

// Reads the X server's top-level windows over an XCB connection of its own, every request of a reading sent
// before the first reply is awaited: a round trip per reading, not per window. Keeps what it read in a
// model, so only what events say changed is read again.
class X11WindowList {
public:
    // nullptr when no X display can be opened.
    static std::unique_ptr<X11WindowList> open();
    ~X11WindowList();
    X11WindowList(const X11WindowList&) = delete;
    X11WindowList& operator=(const X11WindowList&) = delete;

    // The top-level windows that bypass the window manager and are left out of its list, bottom to top;
    // those mapped too recently to count as a panel yet.
    struct Unmanaged {
        std::vector<X11WindowId> windows;
        std::vector<X11WindowId> recentlyMapped;
    };
    // The window server's list, frontmost first. `screens` (root pixels, primary first) and `scale` (pixels
    // per point) come from the caller, which knows the screens; `changes` are what the server's events
    // said changed since the last call: nothing else is asked of the server.
    kit::PropertyList::Array windowList(std::uint32_t options, const std::vector<PixelRect>& screens,
                                        double scale, const Unmanaged& unmanaged,
                                        const X11WindowChanges& changes);
    // What the last list found, for a user asking why the bar looks as it does.
    struct Finding {
        std::optional<X11WindowRecord> panel;  // the window taken as the menu bar
        X11WindowId panelFrame = 0;            // the root's child holding it
        bool reservedStrip = false;            // the menu bar is a strip reserved with no window of its own
        bool compositing = false;
        std::uint64_t requests = 0;  // X requests the list took
        // The last list that asked the server anything: its requests, and how many of the windows it knew
        // it had to read.
        std::uint64_t readingRequests = 0;
        std::size_t windowsRead = 0;
        std::size_t windowsKnown = 0;
    };
    const Finding& lastFinding() const { return _lastFinding; }

    // Marks one of our own windows, over the connection that created it (so the marker follows the window's
    // creation), so that no scan takes it for another application's window.
    static void markAsAwningWindow(_XDisplay* display, X11WindowId window);

private:
    struct Atoms;
    X11WindowList(xcb_connection_t* connection, X11WindowId root, std::unique_ptr<Atoms> atoms);

    X11RootRecord readRoot();
    std::vector<X11WindowModel::Reading> readWindows(const std::vector<X11WindowId>& windows);
    void findFrames(std::vector<X11WindowModel::Reading>& readings, std::vector<X11WindowId> parents);
    void reportCompositing(bool compositing);
    void noteFinding(const X11RootRecord& root, const std::vector<X11WindowRecord>& windows);

    xcb_connection_t* _connection;
    X11WindowId _root;
    std::unique_ptr<Atoms> _atoms;
    std::uint64_t _requests = 0;
    X11WindowModel _model;
    std::optional<X11RootRecord> _translatedRoot;  // the root as last translated, with screens and scale
    std::uint32_t _translatedOptions = 0;
    kit::PropertyList::Array _list;
    bool _reportedNoCompositor = false;
    Finding _lastFinding;
};

}  // namespace qthost
