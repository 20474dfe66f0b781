#include "hosts/qt/x11/WorkspaceMonitor.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include "hosts/qt/x11/X11WindowHints.h"
#include "kit/appkit/Application.h"
#include "kit/foundation/NotificationCenter.h"

namespace qthost {

namespace {

// A window bypassing the manager is taken for a panel once it stayed through a check of the menu bar.
constexpr std::chrono::seconds unmanagedPanelSettleTime{2};
// A panel that raises itself whenever it is covered would otherwise play leapfrog with us at the X
// server's speed.
constexpr int minimumRaiseIntervalMs = 250;

}  // namespace

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
    _raiseLater.setSingleShot(true);
    QObject::connect(&_raiseLater, &QTimer::timeout, [this] { raiseOverlays(); });
}

X11WindowList::Unmanaged WorkspaceMonitor::unmanagedWindows() const {
    return X11WindowList::Unmanaged{
        _events->unmanagedWindows(),
        _events->recentlyMappedUnmanagedWindows(std::chrono::steady_clock::now(), unmanagedPanelSettleTime)};
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
        for (const int delay : opacitySettleDelaysMs) {
            QTimer::singleShot(delay, &_notifier, [this] { refreshOpacity(); });
        }
    }
    if (changes.panelRestacked) {
        raiseOverlaysSoon();
    }
    // Going full screen, and a compositor or window manager coming or going, stand for a switch of space:
    // the menu bar is checked at once.
    if (changes.currentDesktop || changes.managers || changes.menuBarMayHaveMoved || changes.panelMoved) {
        center.post(kit::WorkspaceActiveSpaceDidChangeNotification, &_sender);
    }
    // The check just took the bar's new place; as when a screen's usable area changes, the tint is laid out
    // there at once rather than at the next layout pass, so it never trails a sliding panel.
    if (changes.panelMoved) {
        kit::Application::shared().screenParametersDidChange();
    }
    if (changes.activeWindow) {
        center.post(kit::WorkspaceDidActivateApplicationNotification, &_sender);
    }
}

// A panel mapped over a tint already in place (the bar it replaces had the same bounds) covers it.
void WorkspaceMonitor::watchPanel(std::vector<X11WindowId> windows) {
    if (windows == _panelWindows) {
        return;
    }
    _panelWindows = windows;
    _events->watchPanel(std::move(windows));
    if (!_panelWindows.empty()) {
        raiseOverlaysSoon();
    }
}

// The pause between raises is for a panel that raises itself: one that came into a new frame since the last
// raise (a window manager replaced another) is raised over at once.
void WorkspaceMonitor::raiseOverlaysSoon() {
    const bool newWindows = _events->panelWindows() != _raisedOver;
    if (_raiseLater.isActive() && !newWindows) {
        return;
    }
    const qint64 wait =
        !newWindows && _sinceRaise.isValid() ? minimumRaiseIntervalMs - _sinceRaise.elapsed() : 0;
    _raiseLater.start(static_cast<int>(std::max<qint64>(wait, 0)));
}

// Our overlays bypass the window manager: nobody but us keeps them above the panel.
void WorkspaceMonitor::raiseOverlays() {
    _sinceRaise.start();
    _raisedOver = _events->panelWindows();
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->windowFlags().testFlag(Qt::WindowTransparentForInput)) {
            widget->raise();
        }
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
