#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "hosts/qt/DesktopSession.h"
#include "kit/foundation/PropertyList.h"

// What the X server told us about its windows, recorded as plain values, and how that becomes the window
// server's list. Kept free of Xlib so it can be tested on recorded desktops.
namespace qthost {

using X11WindowId = unsigned long;

struct X11WindowRecord {
    X11WindowId id = 0;
    std::string name;            // _NET_WM_NAME, else WM_NAME
    std::string owner;           // WM_CLASS's class, else its instance name
    std::int64_t processId = 0;  // _NET_WM_PID; 0 when unknown
    bool viewable = false;
    bool overrideRedirect = false;  // bypasses the window manager, as some panels do
    PixelRect bounds;
    bool dock = false;        // _NET_WM_WINDOW_TYPE_DOCK
    bool desktop = false;     // _NET_WM_WINDOW_TYPE_DESKTOP
    bool fullScreen = false;  // _NET_WM_STATE_FULLSCREEN
    bool awning = false;      // carries our own marker property
    int topStrut = 0;  // rows reserved along the root's top edge (_NET_WM_STRUT_PARTIAL, _NET_WM_STRUT)
};

struct X11RootRecord {
    X11WindowId root = 0;
    // _NET_SUPPORTING_WM_CHECK on the root, and the same property on the window it names (nullopt when that
    // window is gone or lacks it).
    std::optional<X11WindowId> supportingWindowManagerCheck;
    std::optional<X11WindowId> checkWindowNames;
    // Bottom to top; with the viewable top-level windows that bypass the manager on top of its list.
    std::optional<std::vector<X11WindowId>> clientListStacking;
    std::vector<X11WindowId> queryTree;        // the root's children, bottom to top
    std::optional<PixelRect> workArea;         // of the current desktop
    std::vector<PixelRect> screens;            // primary first
    double scale = 1.0;                        // pixels per point on the primary screen
    bool windowManagerSelectionOwned = false;  // WM_S<screen> has an owner
    // _NET_WM_CM_S<screen> has an owner. Without a compositing manager a translucent window is drawn opaque:
    // there is no menu bar to tint.
    bool compositing = true;
    // Windows bypassing the manager that were mapped too recently to count as a panel: a panel stays, a
    // menu or a notification sliding in along the top edge does not.
    std::vector<X11WindowId> recentlyMapped;
    friend bool operator==(const X11RootRecord&, const X11RootRecord&) = default;
};

// The window server's layer our list gives the menu bar.
constexpr int menuBarLayer = 24;

// A window manager's root properties are trusted only while it holds its selection, or its check window is
// alive and names itself: one that exited leaves them behind, stale. (A replacing manager may hold the
// selection before it publishes a check window, or never publish one again.)
bool windowManagerIsLive(const X11RootRecord& root);
// The manager's windows bottom to top, from _NET_CLIENT_LIST_STACKING, or from _NET_CLIENT_LIST (mapping
// order) when there is no stacking list or it names other windows: a manager that replaced another may leave
// the old one's stacking list in place until something restacks (xfwm4 does).
std::optional<std::vector<X11WindowId>> managedWindows(
    const std::optional<std::vector<X11WindowId>>& stacking,
    const std::optional<std::vector<X11WindowId>>& mapping);
// The windows to describe, bottom to top.
const std::vector<X11WindowId>& stackingOrder(const X11RootRecord& root);

// The window server's list, frontmost first, in the kit's keys. Windows of the stacking order without a
// record vanished while they were read and are left out. The desktop's top panel on the primary screen (or
// the strip the desktop reserves for a bar it draws itself, when no dock reserves one) is the menu-bar
// window, with the panel's own bounds on that screen, unless a full-screen window lies in front of it or no
// compositing manager runs.
kit::PropertyList::Array translateWindowList(const X11RootRecord& root,
                                             const std::vector<X11WindowRecord>& windows,
                                             std::uint32_t options);

}  // namespace qthost
