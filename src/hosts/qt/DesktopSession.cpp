#include "hosts/qt/DesktopSession.h"

#include <QGuiApplication>

#include "hosts/qt/PlainSession.h"
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
        SessionOpening opening = WaylandSession::open();
        if (!opening.session && onGnome()) {
            opening.problem =
                "Awning's GNOME support is not there yet: GNOME Shell on Wayland offers no layer-shell "
                "(zwlr_layer_shell_v1) for its tint. Meanwhile, log in to \"GNOME on Xorg\" to use Awning.";
        }
        return opening;
    }
    return {std::make_unique<PlainSession>(), {}};
}

}  // namespace qthost
