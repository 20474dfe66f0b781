#include "hosts/qt/QtWindowUpdates.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

#include "kit/appkit/Application.h"
#include "kit/appkit/Window.h"

namespace qthost {

QtWindowUpdates::QtWindowUpdates() {
    QCoreApplication::instance()->installEventFilter(this);
}

QtWindowUpdates::~QtWindowUpdates() {
    QCoreApplication::instance()->removeEventFilter(this);
}

bool QtWindowUpdates::eventFilter(QObject* /*watched*/, QEvent* event) {
    const QEvent::Type type = event->type();
    if (!_pending && (type == QEvent::KeyPress || type == QEvent::MouseButtonRelease)) {
        _pending = true;
        QTimer::singleShot(0, this, [this] { updateVisibleWindows(); });
    }
    return false;
}

void QtWindowUpdates::updateVisibleWindows() {
    _pending = false;
    // A copy: an observer may open or close windows.
    const std::vector<kit::Window*> windows = kit::Application::shared().windows();
    for (kit::Window* window : windows) {
        if (window->isVisible()) {
            window->update();
        }
    }
}

}  // namespace qthost
