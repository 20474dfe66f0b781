#include "hosts/qt/PlainSession.h"

#include <QWindow>

namespace qthost {

SessionStatus PlainSession::status() const {
    SessionStatus status;
    status.panel = {"Panel: none (this platform has no desktop to read)"};
    return status;
}

void PlainSession::activate(QWindow& window) {
    window.requestActivate();
}

}  // namespace qthost
