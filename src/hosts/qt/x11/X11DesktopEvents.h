#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "hosts/qt/x11/X11WindowModel.h"

struct _XDisplay;
union _XEvent;

namespace qthost {

// Watches the root window for the desktop switching and the active window changing, the window manager's and
// compositing manager's selections for a new owner, and the managed windows for what moves the menu bar
// (a window going full screen or back, a dock moving, hiding or showing), over a connection of its own whose
// descriptor the caller watches. Plain C++ on the outside: Xlib stays in the source file.
class X11DesktopEvents {
public:
    struct Changes {
        bool currentDesktop = false;
        bool activeWindow = false;
        bool managers = false;  // the window manager or the compositing manager came, went or was replaced
        bool menuBarMayHaveMoved = false;
        bool panelMoved = false;  // the panel (or its frame) moved or changed size: sliding away and back
        bool panelRestacked = false;  // the panel was mapped or restacked, and may now lie over our tint
        bool any() const {
            return currentDesktop || activeWindow || managers || menuBarMayHaveMoved || panelMoved ||
                   panelRestacked;
        }
    };

    // nullptr when no X display can be opened.
    static std::unique_ptr<X11DesktopEvents> open();
    ~X11DesktopEvents();
    X11DesktopEvents(const X11DesktopEvents&) = delete;
    X11DesktopEvents& operator=(const X11DesktopEvents&) = delete;

    // Readable when the server sent something.
    int fileDescriptor() const;
    // Handles every event the connection holds, without waiting for more.
    void drain();
    // What changed since the last call.
    Changes takeChanges();
    // Which windows changed since the last call: only those need reading again.
    X11WindowChanges takeWindowChanges();
    // _NET_CURRENT_DESKTOP as last seen; 0 when the desktop publishes none.
    int currentDesktop() const { return _currentDesktop; }
    // The mapped top-level windows that bypass the window manager, bottom to top as they were mapped.
    std::vector<X11WindowId> unmanagedWindows() const;
    // Those of them mapped less than `settleTime` before `now`; the ones there when we started have stayed.
    std::vector<X11WindowId> recentlyMappedUnmanagedWindows(
        std::chrono::steady_clock::time_point now, std::chrono::steady_clock::duration settleTime) const;
    // The window taken as the panel and the frame holding it, whose restacking is reported.
    void watchPanel(std::vector<X11WindowId> windows) { _panelWindows = std::move(windows); }
    // Those windows, and the frames the panel was taken into since.
    const std::vector<X11WindowId>& panelWindows() const { return _panelWindows; }
    // Writes each window's opacity property again as it stands: a compositing manager that just started may
    // not read it otherwise.
    void rewriteOpacity(const std::vector<unsigned long>& windows);

private:
    struct Atoms;
    struct Watched {
        bool dock = false;
        bool fullScreen = false;
    };
    struct Unmanaged {
        X11WindowId id = 0;
        std::optional<std::chrono::steady_clock::time_point> mappedAt;
    };
    X11DesktopEvents(_XDisplay* display, std::unique_ptr<Atoms> atoms, int fixesEventBase);
    void handle(const _XEvent& event, Changes& changes, bool& rootTouched);
    void noteWindowChange(const _XEvent& event);
    bool restacksThePanel(const _XEvent& event);
    bool isPanelWindow(unsigned long window) const;
    void readRootProperties(Changes& changes);
    void watchManagedWindows();
    void watchRootChildren();
    void forgetUnmanaged(unsigned long window);
    bool readFullScreen(unsigned long window) const;

    _XDisplay* _display;
    std::unique_ptr<Atoms> _atoms;
    int _fixesEventBase;  // -1 without the XFixes extension
    unsigned long _root;
    int _currentDesktop = 0;
    unsigned long _activeWindow = 0;
    std::unordered_map<unsigned long, Watched> _watched;
    std::vector<Unmanaged> _unmanaged;
    std::vector<X11WindowId> _panelWindows;
    Changes _pending;
    X11WindowChanges _windowChanges;
};

}  // namespace qthost
