#include "hosts/qt/x11/X11Session.h"

#include <QGuiApplication>
#include <QTimer>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#include "hosts/qt/x11/WorkspaceMonitor.h"
#include "hosts/qt/x11/X11Activation.h"
#include "hosts/qt/x11/X11Flush.h"
#include "hosts/qt/x11/X11SessionStatus.h"
#include "hosts/qt/x11/X11WindowHints.h"
#include "hosts/qt/x11/X11WindowList.h"

namespace qthost {

namespace {

QNativeInterface::QX11Application* qtX11() {
    return qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
}

}  // namespace

X11Session::X11Session() : _windowList(X11WindowList::open()), _workspace(WorkspaceMonitor::open()) {}

X11Session::~X11Session() = default;

std::optional<kit::PropertyList::Array> X11Session::windowList(std::uint32_t options,
                                                               const std::vector<SessionScreen>& screens) {
    // The list is kept from one check to the next by the server's events: without them it cannot be.
    if (!_windowList || !_workspace) {
        return std::nullopt;
    }
    _workspace->catchUp();
    _screenPixels.resize(screens.size());
    for (std::size_t index = 0; index < screens.size(); ++index) {
        _screenPixels[index] = screens[index].pixels;
    }
    const double scale = screens.empty() ? 1.0 : screens.front().scale;
    kit::PropertyList::Array list = _windowList->windowList(options, _screenPixels, scale,
                                                            _workspace->unmanagedWindows(),
                                                            _workspace->takeWindowChanges());
    const X11WindowList::Finding& finding = _windowList->lastFinding();
    _workspace->watchPanel(finding.panel ? std::vector<X11WindowId>{finding.panel->id, finding.panelFrame}
                                         : std::vector<X11WindowId>{});
    return list;
}

int X11Session::activeSpace() const {
    return _workspace ? _workspace->activeSpace() : 0;
}

SessionStatus X11Session::status() const {
    return x11SessionStatus(_windowList ? &_windowList->lastFinding() : nullptr);
}

void X11Session::windowShown(QWindow& window) {
    if (auto* x11 = qtX11()) {
        X11WindowList::markAsAwningWindow(x11->display(), window.winId());
        if (window.flags() & Qt::WindowTransparentForInput) {
            rewriteOpacityOnceMapped(window);
        }
    }
}

// MATE's marco drew a tint made again at full strength, though its opacity property said 0.2: it reads the
// property only from a change it sees, and one right after the map, while it is still taking the window
// in, was often lost too. Written again at once and twice more as it settles.
void X11Session::rewriteOpacityOnceMapped(QWindow& window) {
    const auto rewrite = [&window] {
        if (auto* x11 = qtX11(); x11 && window.isVisible()) {
            rewriteOpacity(x11->display(), window.winId());
        }
    };
    rewrite();
    for (const int delay : opacitySettleDelaysMs) {
        QTimer::singleShot(delay, &window, rewrite);
    }
}

void X11Session::keepOutOfTaskLists(QWindow& window) {
    if (auto* x11 = qtX11()) {
        qthost::keepOutOfTaskLists(x11->display(), window.winId());
    }
}

void X11Session::activate(QWindow& window) {
    if (auto* x11 = qtX11()) {
        activateX11Window(x11->display(), window.winId());
    } else {
        window.requestActivate();
    }
}

void X11Session::sendQueuedRequests() {
    flushQtX11Connection();
}

}  // namespace qthost
