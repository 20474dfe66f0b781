#include "hosts/qt/SingleInstance.h"

#include <QLocalSocket>
#include <QLockFile>

namespace qthost {

namespace {

const QByteArray reopenRequest = "reopen\n";
constexpr int connectTimeoutMilliseconds = 1000;
constexpr int lockTimeoutMilliseconds = 3000;

}  // namespace

SingleInstance::SingleInstance(const std::filesystem::path& socketPath, std::function<void()> reopen)
    : _path(QString::fromStdString(socketPath.string())), _reopen(std::move(reopen)) {
    _server.setSocketOptions(QLocalServer::UserAccessOption);
    QObject::connect(&_server, &QLocalServer::newConnection, &_server, [this] { acceptConnections(); });
}

bool SingleInstance::handOffToRunningInstance(bool takeOver) {
    // Two launches at once: the second waits here until the first listens, then hands off to it. A crashed
    // holder's lock is stale and taken over; without the lock at all we go on rather than not start.
    QLockFile lock(_path + QStringLiteral(".lock"));
    lock.tryLock(lockTimeoutMilliseconds);
    if (!takeOver && sendReopen()) {
        return true;
    }
    listen();
    return false;
}

bool SingleInstance::handOffRequestToRunningInstance(const QByteArray& request) {
    QLockFile lock(_path + QStringLiteral(".lock"));
    lock.tryLock(lockTimeoutMilliseconds);
    if (send(request)) {
        return true;
    }
    listen();
    return false;
}

void SingleInstance::onRequest(const QByteArray& request, std::function<void()> handler) {
    _handlers[request] = std::move(handler);
}

bool SingleInstance::sendReopen() const {
    return send(reopenRequest);
}

bool SingleInstance::send(const QByteArray& request) const {
    QLocalSocket socket;
    socket.connectToServer(_path);
    if (!socket.waitForConnected(connectTimeoutMilliseconds)) {
        return false;
    }
    socket.write(request);
    const bool sent = socket.waitForBytesWritten(connectTimeoutMilliseconds);
    socket.disconnectFromServer();
    return sent;
}

void SingleInstance::listen() {
    // Whatever is left at the path belongs to no live instance (nothing answered), or to one on its way out.
    QLocalServer::removeServer(_path);
    if (!_server.listen(_path)) {
        qWarning("Awning: cannot listen on %s: %s", qPrintable(_path), qPrintable(_server.errorString()));
    }
}

void SingleInstance::acceptConnections() {
    while (QLocalSocket* socket = _server.nextPendingConnection()) {
        QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
            while (socket->canReadLine()) {
                const QByteArray line = socket->readLine();
                if (line == reopenRequest) {
                    _reopen();
                } else if (const auto handler = _handlers.find(line); handler != _handlers.end()) {
                    handler->second();
                }
            }
        });
    }
}

}  // namespace qthost
