#include "hosts/qt/x11/X11Flush.h"

#include <xcb/xcb.h>
#include <QGuiApplication>

namespace qthost {

void flushQtX11Connection() {
    // Other platforms answer the interface too, with no connection.
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (xcb_connection_t* connection = x11 ? x11->connection() : nullptr) {
        xcb_flush(connection);
    }
}

}  // namespace qthost
