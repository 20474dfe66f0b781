#include "hosts/qt/gnome/GnomeSession.h"

#include <QDBusConnection>
#include <QTimer>
#include <QWindow>

#include "hosts/qt/gnome/GnomeOverlaySurface.h"
#include "hosts/qt/gnome/GnomeShellPeer.h"
#include "kit/foundation/Log.h"
#include "kit/foundation/NotificationCenter.h"

namespace qthost {

namespace {

std::string rectangle(const PixelRect& rect) {
    return std::to_string(rect.width) + "x" + std::to_string(rect.height) + " at " + std::to_string(rect.x) +
           "," + std::to_string(rect.y);
}

}  // namespace

GnomeSession::GnomeSession()
    : _peer(std::make_unique<GnomeShellPeer>(QDBusConnection::sessionBus(), [this] { stateDidChange(); })) {}

GnomeSession::~GnomeSession() = default;

std::optional<kit::PropertyList::Array> GnomeSession::windowList(std::uint32_t,
                                                                 const std::vector<SessionScreen>& screens) {
    _scale = screens.empty() ? 1.0 : screens.front().scale;
    return gnomeWindowList(_peer->state(), screens);
}

std::optional<PixelPoint> GnomeSession::pointer() const {
    return gnomePointer(_peer->state());
}

SessionStatus GnomeSession::status() const {
    SessionStatus status;
    if (!_peer->isConnected()) {
        status.panel.push_back("Panel: none: " + (_peer->problem().empty() ? std::string("connecting to Awning's "
                                                                                         "GNOME Shell extension")
                                                                           : _peer->problem()));
        return status;
    }
    const GnomeShellState& state = _peer->state();
    status.panel.push_back("Panel: GNOME Shell's top bar, " + rectangle(state.panel) +
                           (state.panelShows ? "" : ", hidden (a full-screen window covers it)"));
    status.desktop.push_back(std::string("Session: GNOME Shell on Wayland, through Awning's extension (interface "
                                         "version ") +
                             std::to_string(GnomeShellPeer::interfaceVersion) + "); hover is followed" +
                             (state.pointerOnPanel ? ", the pointer is on the bar" : ""));
    return status;
}

std::unique_ptr<OverlaySurface> GnomeSession::createOverlaySurface() {
    return std::make_unique<GnomeOverlaySurface>(*_peer, [this] { return _scale; });
}

void GnomeSession::activate(QWindow& window) {
    window.requestActivate();
}

void GnomeSession::setActivationToken(const std::string& token) {
    // Qt's Wayland platform activates the next window with the token it finds here.
    qputenv("XDG_ACTIVATION_TOKEN", QByteArray::fromStdString(token));
}

// The bar appearing, hiding or moving, and the pointer crossing it, are what a check and a layout pass look
// at: run them now rather than up to a period late, as a workspace change does.
void GnomeSession::stateDidChange() {
    QTimer::singleShot(0, &_postings, [this] {
        if (_peer->problem() != _reportedProblem) {
            _reportedProblem = _peer->problem();
            if (!_reportedProblem.empty()) {
                kit::log(_reportedProblem);
            }
        }
        kit::NotificationCenter::workspaceCenter().post(kit::WorkspaceActiveSpaceDidChangeNotification, &_sender);
    });
}

}  // namespace qthost
