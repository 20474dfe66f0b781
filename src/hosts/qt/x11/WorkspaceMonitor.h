#pragma once

#include <QElapsedTimer>
#include <QSocketNotifier>
#include <QTimer>
#include <memory>

#include "hosts/qt/x11/X11DesktopEvents.h"
#include "hosts/qt/x11/X11WindowList.h"
#include "kit/core/Object.h"

namespace qthost {

// Posts the workspace's notifications when the X server reports a desktop switch or a change of the active
// window; a window going full screen, a dock moving and a new window or compositing manager count as a
// switch of space, so the menu bar is checked at once.
class WorkspaceMonitor {
public:
    // nullptr when no X display can be opened.
    static std::unique_ptr<WorkspaceMonitor> open();

    // The desktop the user sees now.
    int activeSpace() const { return _events->currentDesktop(); }
    // Takes in what the server sent and the socket notifier has not yet seen, so that a check sees the
    // windows as they are; the notifications it calls for are posted right after, not from within the check.
    void catchUp();
    X11WindowChanges takeWindowChanges() { return _events->takeWindowChanges(); }
    // The mapped top-level windows that bypass the window manager, bottom to top, and those of them mapped
    // too recently to be taken for a panel.
    X11WindowList::Unmanaged unmanagedWindows() const;
    // The window taken as the panel, and its frame: when either is restacked, or another window is taken, our
    // tint is raised again.
    void watchPanel(std::vector<X11WindowId> windows);

private:
    explicit WorkspaceMonitor(std::unique_ptr<X11DesktopEvents> events);
    void readEvents();
    void post(const X11DesktopEvents::Changes& changes);
    void refreshOpacity();
    void raiseOverlays();
    void raiseOverlaysSoon();

    std::unique_ptr<X11DesktopEvents> _events;
    QSocketNotifier _notifier;
    std::vector<X11WindowId> _panelWindows;
    QTimer _raiseLater;
    QElapsedTimer _sinceRaise;
    std::vector<X11WindowId> _raisedOver;  // the panel's windows at the last raise
    kit::Object _sender;  // the notifications come from somewhere: observers may filter by sender
};

}  // namespace qthost
