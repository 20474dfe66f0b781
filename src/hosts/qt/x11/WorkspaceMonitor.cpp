#include "hosts/qt/x11/WorkspaceMonitor.h"

#include "kit/foundation/NotificationCenter.h"

namespace qthost {

std::unique_ptr<WorkspaceMonitor> WorkspaceMonitor::open() {
    std::unique_ptr<X11DesktopEvents> events = X11DesktopEvents::open();
    if (!events) {
        return nullptr;
    }
    return std::unique_ptr<WorkspaceMonitor>(new WorkspaceMonitor(std::move(events)));
}

WorkspaceMonitor::WorkspaceMonitor(std::unique_ptr<X11DesktopEvents> events)
    : _events(std::move(events)), _notifier(_events->fileDescriptor(), QSocketNotifier::Read) {
    QObject::connect(&_notifier, &QSocketNotifier::activated, [this] { readEvents(); });
}

void WorkspaceMonitor::readEvents() {
    const X11DesktopEvents::Changes changes = _events->drain();
    kit::NotificationCenter& center = kit::NotificationCenter::workspaceCenter();
    if (changes.currentDesktop) {
        center.post(kit::WorkspaceActiveSpaceDidChangeNotification, &_sender);
    }
    if (changes.activeWindow) {
        center.post(kit::WorkspaceDidActivateApplicationNotification, &_sender);
    }
}

}  // namespace qthost
