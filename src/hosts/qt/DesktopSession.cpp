#include "hosts/qt/DesktopSession.h"

#include <QGuiApplication>

#include "hosts/qt/PlainSession.h"
#include "hosts/qt/x11/X11Session.h"

namespace qthost {

SessionOpening openDesktopSession() {
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("xcb")) {
        return {std::make_unique<X11Session>(), {}};
    }
    return {std::make_unique<PlainSession>(), {}};
}

}  // namespace qthost
