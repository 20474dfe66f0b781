#pragma once

#include <QLocalServer>
#include <QString>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>

namespace qthost {

// One running instance per user: a later launch hands a reopen request to it over a local socket and ends.
class SingleInstance {
public:
    // `reopen` runs in the running instance for every later launch. An empty path stands for no socket:
    // this process neither hands off nor listens.
    SingleInstance(const std::filesystem::path& socketPath, std::function<void()> reopen);

    // True when a running instance took the reopen request: this process should end. Otherwise this process
    // is the running instance from now on and listens for later launches. With `takeOver`, a running
    // instance is on its way out (a relaunch) and this process replaces it instead of deferring to it.
    bool handOffToRunningInstance(bool takeOver = false);
    // --- Further requests
    // `handler` runs in the running instance when a later launch hands over `request` (one line).
    void onRequest(const QByteArray& request, std::function<void()> handler);
    // Like handOffToRunningInstance, but hands over `request` instead of a reopen.
    bool handOffRequestToRunningInstance(const QByteArray& request);

    bool isListening() const { return _server.isListening(); }

    // Hands `request` to the running instance without becoming one; false when none took it.
    bool send(const QByteArray& request) const;
    // --- Activation tokens
    // Hands `token` (this launch's XDG_ACTIVATION_TOKEN) to the running instance with each request, so that
    // the window it shows may come forward; nothing for a token that is not one (empty, too long, or holding
    // anything but printable ASCII).
    void handOverActivationToken(const QByteArray& token);
    // `handler` runs in the running instance with each token a later launch handed over.
    void onActivationToken(std::function<void(const std::string&)> handler) { _tokenHandler = std::move(handler); }
    // Answers a later `status` request with what `report` returns.
    void setStatusReporter(std::function<std::string()> report) { _status = std::move(report); }
    // Asks the running instance for its status; nullopt when none runs.
    std::optional<std::string> askStatus() const;

private:
    // False for no path, or when what is at the path is not this user's own socket (another account
    // could otherwise take every later launch); says so in the log.
    bool isTrusted() const;
    void listen();
    void acceptConnections();

    QString _path;
    std::function<void()> _reopen;
    std::map<QByteArray, std::function<void()>> _handlers;
    std::function<std::string()> _status;
    QByteArray _tokenLine;  // sent before each request; empty: none
    std::function<void(const std::string&)> _tokenHandler;
    QLocalServer _server;
};

}  // namespace qthost
