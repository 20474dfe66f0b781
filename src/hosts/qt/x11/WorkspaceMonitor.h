#pragma once

#include <QSocketNotifier>
#include <memory>

#include "hosts/qt/x11/X11DesktopEvents.h"
#include "kit/core/Object.h"

namespace qthost {

// Posts the workspace's notifications when the X server reports a desktop switch or a change of the active
// window.
class WorkspaceMonitor {
public:
    // nullptr when no X display can be opened.
    static std::unique_ptr<WorkspaceMonitor> open();

    // The desktop the user sees now.
    int activeSpace() const { return _events->currentDesktop(); }

private:
    explicit WorkspaceMonitor(std::unique_ptr<X11DesktopEvents> events);
    void readEvents();

    std::unique_ptr<X11DesktopEvents> _events;
    QSocketNotifier _notifier;
    kit::Object _sender;  // the notifications come from somewhere: observers may filter by sender
};

}  // namespace qthost
