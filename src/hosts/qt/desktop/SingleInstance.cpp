#include "hosts/qt/desktop/SingleInstance.h"

#include <unistd.h>

#include <QLocalSocket>
#include <QLockFile>
#include <algorithm>

#include "hosts/qt/desktop/PrivateFolder.h"

namespace qthost {

namespace {

const QByteArray reopenRequest = "reopen\n";
const QByteArray statusRequest = "status\n";
const QByteArray tokenPrefix = "activation-token ";
constexpr qsizetype longestToken = 512;

bool isToken(const QByteArray& token) {
    return !token.isEmpty() && token.size() <= longestToken &&
           std::all_of(token.begin(), token.end(), [](char c) { return c > ' ' && c < 0x7f; });
}
constexpr int connectTimeoutMilliseconds = 1000;
constexpr int lockTimeoutMilliseconds = 3000;

}  // namespace

SingleInstance::SingleInstance(const std::filesystem::path& socketPath, std::function<void()> reopen)
    : _path(QString::fromStdString(socketPath.string())), _reopen(std::move(reopen)) {
    _server.setSocketOptions(QLocalServer::UserAccessOption);
    QObject::connect(&_server, &QLocalServer::newConnection, &_server, [this] { acceptConnections(); });
}

bool SingleInstance::isTrusted() const {
    if (_path.isEmpty()) {
        return false;
    }
    const std::string reason = untrustedSocketReason(_path.toStdString(), getuid());
    if (!reason.empty()) {
        qWarning("Awning: will not use %s: it could hand this launch to a stranger", reason.c_str());
    }
    return reason.empty();
}

bool SingleInstance::handOffToRunningInstance(bool takeOver) {
    if (!isTrusted()) {
        return false;
    }
    // Two launches at once: the second waits here until the first listens, then hands off to it. A crashed
    // holder's lock is stale and taken over; without the lock at all we go on rather than not start.
    QLockFile lock(_path + QStringLiteral(".lock"));
    lock.tryLock(lockTimeoutMilliseconds);
    if (!takeOver && send(reopenRequest)) {
        return true;
    }
    listen();
    return false;
}

bool SingleInstance::handOffRequestToRunningInstance(const QByteArray& request) {
    if (!isTrusted()) {
        return false;
    }
    QLockFile lock(_path + QStringLiteral(".lock"));
    lock.tryLock(lockTimeoutMilliseconds);
    if (send(request)) {
        return true;
    }
    listen();
    return false;
}

void SingleInstance::handOverActivationToken(const QByteArray& token) {
    _tokenLine = isToken(token) ? tokenPrefix + token + '\n' : QByteArray();
}

void SingleInstance::onRequest(const QByteArray& request, std::function<void()> handler) {
    _handlers[request] = std::move(handler);
}

bool SingleInstance::send(const QByteArray& request) const {
    if (!isTrusted()) {
        return false;
    }
    QLocalSocket socket;
    socket.connectToServer(_path);
    if (!socket.waitForConnected(connectTimeoutMilliseconds)) {
        return false;
    }
    socket.write(_tokenLine + request);
    const bool sent = socket.waitForBytesWritten(connectTimeoutMilliseconds);
    socket.disconnectFromServer();
    return sent;
}

std::optional<std::string> SingleInstance::askStatus() const {
    if (!isTrusted()) {
        return std::nullopt;
    }
    QLocalSocket socket;
    socket.connectToServer(_path);
    if (!socket.waitForConnected(connectTimeoutMilliseconds)) {
        return std::nullopt;
    }
    socket.write(statusRequest);
    QByteArray answer;
    while (socket.state() == QLocalSocket::ConnectedState &&
           socket.waitForReadyRead(connectTimeoutMilliseconds)) {
        answer += socket.readAll();
    }
    answer += socket.readAll();
    return answer.toStdString();
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
                const QByteArray request = socket->readLine();
                if (request == reopenRequest) {
                    _reopen();
                } else if (request == statusRequest && _status) {
                    socket->write(QByteArray::fromStdString(_status()));
                    socket->disconnectFromServer();
                } else if (request.startsWith(tokenPrefix) && request.endsWith('\n')) {
                    const QByteArray token = request.sliced(tokenPrefix.size()).chopped(1);
                    if (_tokenHandler && isToken(token)) {
                        _tokenHandler(token.toStdString());
                    }
                } else if (const auto handler = _handlers.find(request); handler != _handlers.end()) {
                    handler->second();
                }
            }
        });
    }
}

}  // namespace qthost
