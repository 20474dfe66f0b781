#include "hosts/qt/gnome/GnomeShellPeer.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <cmath>

#include "hosts/qt/gnome/GnomeExtensionStatus.h"

namespace qthost {

namespace {

const QString service = QStringLiteral("com.larkspur.Awning.Shell");
const QString path = QStringLiteral("/com/larkspur/Awning/Shell");
const QString interface = QStringLiteral("com.larkspur.Awning.Shell");
const QString versionMismatch = QStringLiteral("com.larkspur.Awning.Shell.Error.VersionMismatch");

// The state's one shape; anything else from the bus is not the extension we know.
std::optional<GnomeShellState> decodeState(const QVariant& value) {
    if (!value.canConvert<QDBusArgument>()) {
        return std::nullopt;
    }
    const QDBusArgument argument = value.value<QDBusArgument>();
    if (argument.currentSignature() != QLatin1String("(iiiibbiiii)")) {
        return std::nullopt;
    }
    GnomeShellState state;
    argument.beginStructure();
    argument >> state.panel.x >> state.panel.y >> state.panel.width >> state.panel.height >> state.panelShows >>
        state.pointerOnPanel >> state.primaryMonitor.x >> state.primaryMonitor.y >> state.primaryMonitor.width >>
        state.primaryMonitor.height;
    argument.endStructure();
    return state;
}

std::optional<GnomeExtensionInfo> decodeExtensionInfo(const QDBusMessage& reply) {
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        return std::nullopt;
    }
    QVariantMap info;
    reply.arguments().front().value<QDBusArgument>() >> info;
    GnomeExtensionInfo extension;
    extension.known = !info.isEmpty();
    extension.state = info.value(QStringLiteral("state")).toDouble();
    extension.error = info.value(QStringLiteral("error")).toString().toStdString();
    return extension;
}

}  // namespace

GnomeShellPeer::GnomeShellPeer(const QDBusConnection& bus, std::function<void()> changed)
    : _bus(bus),
      _changed(std::move(changed)),
      _watcher(service, bus, QDBusServiceWatcher::WatchForRegistration | QDBusServiceWatcher::WatchForUnregistration) {
    connect(&_watcher, &QDBusServiceWatcher::serviceRegistered, this, [this] { extensionAppeared(); });
    connect(&_watcher, &QDBusServiceWatcher::serviceUnregistered, this, [this] { extensionVanished(); });
    _bus.connect(service, path, interface, QStringLiteral("StateChanged"), this,
                 SLOT(stateDidChange(QDBusMessage)));
    if (_bus.interface() && _bus.interface()->isServiceRegistered(service)) {
        extensionAppeared();
    } else {
        explainMissingExtension();
    }
}

void GnomeShellPeer::setTint(QByteArray pixels, int width, int height) {
    _picture = Picture{std::move(pixels), width, height};
    if (_connected) {
        sendTint();
    }
}

void GnomeShellPeer::setOpacity(double opacity, double seconds) {
    _opacity = opacity;
    if (_connected && _shown) {
        const double milliseconds = std::isfinite(seconds) && seconds > 0 ? std::round(seconds * 1000) : 0;
        send(QStringLiteral("SetOpacity"), {opacity, static_cast<unsigned>(milliseconds)});
    }
}

void GnomeShellPeer::hideTint() {
    _picture.reset();
    if (_connected && _shown) {
        send(QStringLiteral("HideTint"), {});
    }
    _shown = false;
}

void GnomeShellPeer::stateDidChange(const QDBusMessage& message) {
    if (_connected && !message.arguments().isEmpty()) {
        if (const std::optional<GnomeShellState> state = decodeState(message.arguments().front())) {
            update(*state, true);
        }
    }
}

void GnomeShellPeer::extensionAppeared() {
    QDBusMessage hello = QDBusMessage::createMethodCall(service, path, interface, QStringLiteral("Connect"));
    hello << interfaceVersion;
    auto* watcher = new QDBusPendingCallWatcher(_bus.asyncCall(hello), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* answered) {
        connectionAnswered(*answered);
        answered->deleteLater();
    });
}

void GnomeShellPeer::extensionVanished() {
    _shown = false;
    update(GnomeShellState{}, false);
    explainMissingExtension();
}

void GnomeShellPeer::connectionAnswered(const QDBusPendingCall& call) {
    if (call.isError()) {
        const QDBusError error = call.error();
        setProblem(error.name() == versionMismatch
                       ? "Awning cannot use its GNOME Shell extension: " + error.message().toStdString()
                       : "Awning's GNOME Shell extension did not answer: " + error.message().toStdString());
        return;
    }
    const QDBusMessage ask = QDBusMessage::createMethodCall(service, path, interface, QStringLiteral("GetState"));
    auto* watcher = new QDBusPendingCallWatcher(_bus.asyncCall(ask), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* answered) {
        stateAnswered(*answered);
        answered->deleteLater();
    });
}

void GnomeShellPeer::stateAnswered(const QDBusPendingCall& call) {
    const QDBusMessage reply = call.reply();
    const std::optional<GnomeShellState> state =
        reply.arguments().isEmpty() ? std::nullopt : decodeState(reply.arguments().front());
    if (!state) {
        setProblem("Awning's GNOME Shell extension answered in a form Awning does not know.");
        return;
    }
    _problem.clear();
    update(*state, true);
    if (_picture) {
        sendTint();
    }
}

void GnomeShellPeer::explainMissingExtension() {
    const QDBusMessage ask = QDBusMessage::createMethodCall(
        QStringLiteral("org.gnome.Shell"), QStringLiteral("/org/gnome/Shell"),
        QStringLiteral("org.gnome.Shell.Extensions"), QStringLiteral("GetExtensionInfo"))
                             << QString::fromLatin1(gnomeExtensionUuid);
    auto* watcher = new QDBusPendingCallWatcher(_bus.asyncCall(ask), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* answered) {
        if (!_connected) {
            setProblem(gnomeExtensionInstruction(decodeExtensionInfo(answered->reply())));
        }
        answered->deleteLater();
    });
}

void GnomeShellPeer::setProblem(std::string problem) {
    if (problem != _problem) {
        _problem = std::move(problem);
        _changed();
    }
}

void GnomeShellPeer::sendTint() {
    send(QStringLiteral("SetTint"), {_picture->pixels, static_cast<unsigned>(_picture->width),
                                     static_cast<unsigned>(_picture->height), static_cast<unsigned>(_picture->width * 4)});
    if (!_shown) {
        _shown = true;
        send(QStringLiteral("SetOpacity"), {_opacity, 0u});
    }
}

void GnomeShellPeer::send(const QString& method, const QList<QVariant>& arguments) {
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, interface, method);
    call.setArguments(arguments);
    // The answer tells nothing Awning acts on; a failure shows as the extension going away.
    call.setAutoStartService(false);
    _bus.asyncCall(call);
}

void GnomeShellPeer::update(const GnomeShellState& state, bool connected) {
    if (state == _state && connected == _connected) {
        return;
    }
    _state = state;
    _connected = connected;
    _changed();
}

}  // namespace qthost
