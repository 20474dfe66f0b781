#include "hosts/qt/desktop/SingleInstance.h"

#include <unistd.h>

#include <QDeadlineTimer>
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

bool SingleInstance::isTrusted(std::string* problem) const {
    if (_path.isEmpty()) {
        if (problem) {
            *problem = "no folder of the user's own can hold its socket";
        }
        return false;
    }
    const std::string reason = untrustedSocketReason(_path.toStdString(), getuid());
    if (!reason.empty()) {
        qWarning("Awning: will not use %s: it could hand this launch to a stranger", reason.c_str());
        if (problem) {
            *problem = reason;
        }
    }
    return reason.empty();
}

SingleInstance::Launch SingleInstance::handOffToRunningInstance(bool takeOver) {
    return handOff(takeOver ? QByteArray() : reopenRequest);
}

SingleInstance::Launch SingleInstance::handOffRequestToRunningInstance(const QByteArray& request) {
    return handOff(request);
}

// An empty `request` hands nothing over: this process takes over from one on its way out.
SingleInstance::Launch SingleInstance::handOff(const QByteArray& request) {
    if (!isTrusted(&_problem)) {
        return Launch::Unchecked;
    }
    // Two launches at once: the second waits here until the first listens, then hands off to it. A crashed
    // holder's lock is stale and taken over; without the lock at all we go on rather than not start.
    QLockFile lock(_path + QStringLiteral(".lock"));
    lock.tryLock(lockTimeoutMilliseconds);
    if (!request.isEmpty() && send(request)) {
        return Launch::HandedOff;
    }
    return listen() ? Launch::Running : Launch::Unchecked;
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

SingleInstance::StatusAnswer SingleInstance::askStatus(int timeoutMilliseconds) const {
    if (!isTrusted()) {
        return {};
    }
    QLocalSocket socket;
    socket.connectToServer(_path);
    if (!socket.waitForConnected(connectTimeoutMilliseconds)) {
        return {};
    }
    socket.write(statusRequest);
    // The report is whole when the instance hangs up; a stopped one accepts (the system does) but never
    // writes nor hangs up.
    const QDeadlineTimer deadline(timeoutMilliseconds);
    QByteArray answer;
    while (socket.state() == QLocalSocket::ConnectedState && !deadline.hasExpired()) {
        socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()));
        answer += socket.readAll();
    }
    answer += socket.readAll();
    if (socket.state() == QLocalSocket::ConnectedState) {
        return {true, std::nullopt};
    }
    return {true, answer.toStdString()};
}

bool SingleInstance::listen() {
    // Whatever is left at the path belongs to no live instance (nothing answered), or to one on its way out.
    QLocalServer::removeServer(_path);
    if (!_server.listen(_path)) {
        _problem = "cannot listen on " + _path.toStdString() + ": " + _server.errorString().toStdString();
        return false;
    }
    return true;
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
