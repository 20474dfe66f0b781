#include "hosts/qt/x11/WorkspaceMonitor.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

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
    _events->drain();
    post(_events->takeChanges());
}

void WorkspaceMonitor::catchUp() {
    _events->drain();
    // At rest there is nothing to post: no extra turn of the event loop with every check.
    const X11DesktopEvents::Changes changes = _events->takeChanges();
    if (changes.any()) {
        QTimer::singleShot(0, &_notifier, [this, changes] { post(changes); });
    }
}

void WorkspaceMonitor::post(const X11DesktopEvents::Changes& changes) {
    kit::NotificationCenter& center = kit::NotificationCenter::workspaceCenter();
    if (changes.managers) {
        refreshOpacity();
    }
    // Going full screen, and a compositor or window manager coming or going, stand for a switch of space:
    // the menu bar is checked at once.
    if (changes.currentDesktop || changes.managers || changes.menuBarMayHaveMoved) {
        center.post(kit::WorkspaceActiveSpaceDidChangeNotification, &_sender);
    }
    if (changes.activeWindow) {
        center.post(kit::WorkspaceDidActivateApplicationNotification, &_sender);
    }
}

// A compositing manager that restarted draws our windows at full strength until their opacity is written
// again.
void WorkspaceMonitor::refreshOpacity() {
    std::vector<unsigned long> windows;
    for (const QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->windowOpacity() < 1.0) {
            windows.push_back(widget->winId());
        }
    }
    _events->rewriteOpacity(windows);
}

}  // namespace qthost
