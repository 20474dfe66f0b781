#include "hosts/qt/QtScreenList.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace qthost {

namespace {

kit::Rect toRect(const QRect& rect) {
    return kit::Rect(rect.x(), rect.y(), rect.width(), rect.height());
}

PixelRect toPixelRect(const QRect& rect) {
    return PixelRect{rect.x(), rect.y(), rect.width(), rect.height()};
}

// Qt keeps a screen's top-left corner at its native position and divides only its size by the ratio.
PixelRect pixelRect(const QScreen& screen) {
    const QRect geometry = screen.geometry();
    const double ratio = screen.devicePixelRatio();
    return PixelRect{geometry.x(), geometry.y(), static_cast<int>(std::lround(geometry.width() * ratio)),
                     static_cast<int>(std::lround(geometry.height() * ratio))};
}

std::vector<QScreen*> orderedScreens() {
    std::vector<QScreen*> screens;
    QScreen* primary = QGuiApplication::primaryScreen();
    if (primary) {
        screens.push_back(primary);
    }
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen != primary) {
            screens.push_back(screen);
        }
    }
    return screens;
}

}  // namespace

QtScreenList::QtScreenList(std::function<void()> didChange) : _didChange(std::move(didChange)) {
    _refreshTimer.setSingleShot(true);
    _refreshTimer.setInterval(0);
    connect(&_refreshTimer, &QTimer::timeout, this, [this] {
        if (refresh()) {
            _didChange();
        }
    });
    for (QScreen* screen : QGuiApplication::screens()) {
        watch(screen);
    }
    connect(qGuiApp, &QGuiApplication::screenAdded, this, [this](QScreen* screen) {
        watch(screen);
        _refreshTimer.start();
    });
    connect(qGuiApp, &QGuiApplication::screenRemoved, &_refreshTimer, qOverload<>(&QTimer::start));
    connect(qGuiApp, &QGuiApplication::primaryScreenChanged, &_refreshTimer, qOverload<>(&QTimer::start));
    refresh();
}

void QtScreenList::watch(QScreen* screen) {
    connect(screen, &QScreen::geometryChanged, &_refreshTimer, qOverload<>(&QTimer::start));
}

bool QtScreenList::refresh() {
    const std::vector<QScreen*> screens = orderedScreens();
    _coordinates =
        screens.empty() ? ScreenCoordinates() : ScreenCoordinates(toRect(screens.front()->geometry()));
    std::vector<kit::ScreenDescription> descriptions;
    _sessionScreens.clear();
    for (QScreen* screen : screens) {
        kit::ScreenDescription description;
        description.frame = _coordinates.toKit(toRect(screen->geometry()));
        description.visibleFrame = _coordinates.toKit(toRect(screen->availableGeometry()));
        description.backingScaleFactor = screen->devicePixelRatio();
        descriptions.push_back(description);
        _sessionScreens.push_back(SessionScreen{screen->name().toStdString(), toPixelRect(screen->geometry()),
                                                pixelRect(*screen), screen->devicePixelRatio()});
    }
    if (descriptions == _descriptions) {
        return false;
    }
    _descriptions = std::move(descriptions);
    return true;
}

}  // namespace qthost
