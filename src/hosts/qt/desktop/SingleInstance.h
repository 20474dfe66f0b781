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
    // How a launch went: handed to the running instance (this process should end), or this process is the
    // running instance from now on and listens for later launches, or neither could be made sure of.
    enum class Launch { HandedOff, Running, Unchecked };

    // How long a running instance may take to answer `status`: it answers at once unless it is stopped or
    // its main thread is stuck, and the user is waiting.
    static constexpr int statusTimeoutMilliseconds = 3000;

    // `reopen` runs in the running instance for every later launch. An empty path stands for no socket:
    // this process can neither hand off nor listen.
    SingleInstance(const std::filesystem::path& socketPath, std::function<void()> reopen);

    // Hands a reopen request to the running instance, or becomes the running instance. With `takeOver`, a
    // running instance is on its way out (a relaunch) and this process replaces it instead of deferring to
    // it. Unchecked (with problem() saying why) when there is no socket path, what is at the path is not
    // the user's own socket, or the socket cannot listen: then another instance may run unseen.
    Launch handOffToRunningInstance(bool takeOver = false);
    // --- Further requests
    // `handler` runs in the running instance when a later launch hands over `request` (one line).
    void onRequest(const QByteArray& request, std::function<void()> handler);
    // Like handOffToRunningInstance, but hands over `request` instead of a reopen.
    Launch handOffRequestToRunningInstance(const QByteArray& request);
    // Why the last hand-off was Unchecked.
    const std::string& problem() const { return _problem; }

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

    struct StatusAnswer {
        bool running = false;               // an instance took the request
        std::optional<std::string> report;  // its whole report; nullopt when it gave none in time
    };
    // Asks the running instance for its status, waiting at most `timeoutMilliseconds` for the whole report.
    StatusAnswer askStatus(int timeoutMilliseconds = statusTimeoutMilliseconds) const;

private:
    // False for no path, or when what is at the path is not this user's own socket (another account
    // could otherwise take every later launch); says so in the log and in `problem`.
    bool isTrusted(std::string* problem = nullptr) const;
    Launch handOff(const QByteArray& request);
    bool listen();
    void acceptConnections();

    QString _path;
    std::string _problem;
    std::function<void()> _reopen;
    std::map<QByteArray, std::function<void()>> _handlers;
    std::function<std::string()> _status;
    QByteArray _tokenLine;  // sent before each request; empty: none
    std::function<void(const std::string&)> _tokenHandler;
    QLocalServer _server;
};

}  // namespace qthost
