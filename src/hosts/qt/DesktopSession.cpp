#include "hosts/qt/DesktopSession.h"

#include <QGuiApplication>

#include "hosts/qt/PlainSession.h"
#include "hosts/qt/gnome/GnomeSession.h"
#include "hosts/qt/wayland/WaylandSession.h"
#include "hosts/qt/x11/X11Session.h"

namespace qthost {

namespace {

bool onGnome() {
    return qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(QLatin1Char(':')).contains(QLatin1String("GNOME"));
}

}  // namespace

SessionOpening openDesktopSession() {
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("xcb")) {
        return {std::make_unique<X11Session>(), {}};
    }
    if (platform.startsWith(QLatin1String("wayland"))) {
        // GNOME Shell offers no layer-shell: its bar is tinted by Awning's shell extension instead.
        if (onGnome()) {
            return {std::make_unique<GnomeSession>(), {}};
        }
        return WaylandSession::open();
    }
    return {std::make_unique<PlainSession>(), {}};
}

}  // namespace qthost
