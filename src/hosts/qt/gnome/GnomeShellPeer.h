#pragma once

#include <QByteArray>
#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QObject>
#include <functional>
#include <optional>
#include <string>

#include "hosts/qt/gnome/GnomeShellState.h"

class QDBusMessage;
class QDBusPendingCall;

namespace qthost {

// Awning's side of the bus interface of its GNOME Shell extension (docs/gnome-shell.md): connects whenever the
// extension appears on the bus, keeps the bar's state it reports, and hands it the tint to show. What the tint
// shows is kept, so an extension that comes back (re-enabled, or after the shell restarted) shows it again.
class GnomeShellPeer final : public QObject {
    Q_OBJECT

public:
    static constexpr unsigned interfaceVersion = 1;

    // `changed` is called whenever the connection or the bar's state changes.
    GnomeShellPeer(const QDBusConnection& bus, std::function<void()> changed);

    bool isConnected() const { return _connected; }
    // Nothing shows while not connected.
    const GnomeShellState& state() const { return _state; }
    // Why there is no connection, in one line; empty while connected or still connecting.
    const std::string& problem() const { return _problem; }

    // Premultiplied 32-bit pixels, `width` a row, as the kit's bitmaps hold them.
    void setTint(QByteArray pixels, int width, int height);
    void setOpacity(double opacity, double seconds);
    void hideTint();

private slots:
    void stateDidChange(const QDBusMessage& message);

private:
    struct Picture {
        QByteArray pixels;
        int width = 0;
        int height = 0;
    };

    void extensionAppeared();
    void extensionVanished();
    void connectionAnswered(const QDBusPendingCall& call);
    void stateAnswered(const QDBusPendingCall& call);
    void explainMissingExtension();
    void setProblem(std::string problem);
    void sendTint();
    void send(const QString& method, const QList<QVariant>& arguments);
    void update(const GnomeShellState& state, bool connected);

    QDBusConnection _bus;
    std::function<void()> _changed;
    QDBusServiceWatcher _watcher;
    bool _connected = false;
    GnomeShellState _state;
    std::string _problem;
    std::optional<Picture> _picture;
    double _opacity = 0.0;
    bool _shown = false;
};

}  // namespace qthost
