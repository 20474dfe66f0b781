#include "hosts/qt/DesktopSession.h"

#include <QGuiApplication>

#include "hosts/qt/PlainSession.h"
#include "hosts/qt/gnome/GnomeSession.h"
#include "hosts/qt/x11/X11Session.h"

namespace qthost {

SessionOpening openDesktopSession() {
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("xcb")) {
        return {std::make_unique<X11Session>(), {}};
    }
    if (platform == QLatin1String("wayland") &&
        qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(QLatin1Char(':')).contains(QLatin1String("GNOME"))) {
        return {std::make_unique<GnomeSession>(), {}};
    }
    return {std::make_unique<PlainSession>(), {}};
}

}  // namespace qthost
