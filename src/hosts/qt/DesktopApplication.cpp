#include "hosts/qt/DesktopApplication.h"

#include <unistd.h>

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "hosts/qt/DesktopSession.h"
#include "hosts/qt/desktop/Places.h"
#include "hosts/qt/desktop/PrivateFolder.h"
#include "hosts/qt/QtHost.h"
#include "hosts/qt/desktop/SessionCheck.h"
#include "hosts/qt/desktop/SingleInstance.h"
#include "hosts/qt/x11/X11DisplayProbe.h"
#include "kit/appkit/Application.h"

namespace qthost {

namespace {

// Set for an instance started by a relaunch, while the instance that started it is still quitting.
constexpr const char* relaunchVariable = "com.larkspur.MultipleApplicationInstanceCheck";

const QByteArray aboutRequest = "about\n";
const QByteArray relaunchRequest = "relaunch\n";

std::string environment(const char* name) {
    return qEnvironmentVariable(name).toStdString();
}

std::filesystem::path executableDirectory() {
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : executable.parent_path();
}

SessionEnvironment sessionEnvironment() {
    return SessionEnvironment{environment("QT_QPA_PLATFORM"), environment("XDG_SESSION_TYPE"),
                              environment("WAYLAND_DISPLAY"), environment("DISPLAY")};
}

// Says in one line why Awning cannot start here, rather than let Qt abort.
bool sessionCanRunAwning() {
    const SessionEnvironment session = sessionEnvironment();
    std::optional<std::string> problem = sessionProblem(session);
    if (!problem && sessionPlatform(session) == "xcb" && !x11DisplayAnswers()) {
        problem = "Awning cannot reach the X11 display \"" + session.display + "\".";
    }
    if (problem) {
        std::fprintf(stderr, "%s\n", problem->c_str());
    }
    return !problem;
}

bool bundleIsThere() {
    const std::string missing = missingBundleReason();
    if (!missing.empty()) {
        std::fprintf(stderr, "Awning cannot find its resources (%s): reinstall it.\n", missing.c_str());
    }
    return missing.empty();
}

// Empty when no folder can be made the user's alone, with each folder's refusal in `problems`.
std::filesystem::path socketPath(std::string& problems) {
    std::error_code error;
    const std::filesystem::path temporary = std::filesystem::temp_directory_path(error);
    const std::vector<SocketFolder> folders = instanceSocketFolders(
        qgetenv("XDG_RUNTIME_DIR").constData(), error ? "/tmp" : temporary,
        cacheHome(qgetenv("XDG_CACHE_HOME").constData(), qgetenv("HOME").constData()), getuid());
    return instanceSocketPath(folders, instanceSocketName(getuid()), getuid(), problems).value_or("");
}

std::filesystem::path socketPath() {
    std::string ignored;
    return socketPath(ignored);
}

// Awning draws with no OpenGL, but on Wayland Qt's first window loads EGL for buffers it never uses: with
// a software renderer, 50 MiB that stay for as long as Awning runs. Naming no integration leaves plain
// shared memory; Qt's two lines saying it found none are expected, so not shown.
void keepWaylandBuffersInSharedMemory() {
    if (!qEnvironmentVariableIsEmpty("QT_WAYLAND_CLIENT_BUFFER_INTEGRATION")) {
        return;
    }
    qputenv("QT_WAYLAND_CLIENT_BUFFER_INTEGRATION", "none");
    static const QtMessageHandler shown = qInstallMessageHandler(nullptr);
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& message) {
        const bool expected = qstrcmp(context.category, "qt.qpa.wayland") == 0 &&
                              (message.startsWith(QLatin1String("Failed to load client buffer integration: \"none\"")) ||
                               message.startsWith(QLatin1String("Available client buffer integrations:")));
        if (!expected) {
            shown(type, context, message);
        }
    });
}

}  // namespace

std::filesystem::path desktopBundleDirectory() {
    return bundleDirectory(qgetenv("AWNING_BUNDLE_DIR").constData(), executableDirectory(),
                           AWNING_INSTALL_DATADIR);
}

std::string missingBundleReason() {
    std::error_code error;
    if (std::filesystem::is_regular_file(desktopBundleDirectory() / "Info.plist", error)) {
        return "";
    }
    const std::vector<std::filesystem::path> places = bundleDirectoryCandidates(
        qgetenv("AWNING_BUNDLE_DIR").constData(), executableDirectory(), AWNING_INSTALL_DATADIR);
    std::string reason = "no Info.plist in ";
    for (std::size_t index = 0; index < places.size(); ++index) {
        reason += (index == 0 ? "" : index + 1 == places.size() ? " or " : ", ") + places[index].string();
    }
    return reason;
}

bool requestRelaunchOfRunningInstance(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    return SingleInstance(socketPath(), [] {}).send(relaunchRequest);
}

int runDesktopApplication(int argc, char** argv, const DesktopCommands& commands) {
    if (!sessionCanRunAwning() || !bundleIsThere()) {
        return 1;
    }
    // Natively on the session's own platform, unless told otherwise.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", QByteArray::fromStdString(sessionPlatform(sessionEnvironment())));
    }
    keepWaylandBuffersInSharedMemory();
    QApplication application(argc, argv);

    std::string socketProblems;
    const std::filesystem::path socket = socketPath(socketProblems);
    SingleInstance instance(socket, [] { kit::Application::shared().reopen(); });
    instance.handOverActivationToken(qgetenv("XDG_ACTIVATION_TOKEN"));
    if (commands.relaunch) {
        instance.onRequest(relaunchRequest, commands.relaunch);
    }
    if (commands.showAbout) {
        instance.onRequest(aboutRequest, commands.showAbout);
    }
    const SingleInstance::Launch launch =
        commands.aboutRequested
            ? instance.handOffRequestToRunningInstance(aboutRequest)
            : instance.handOffToRunningInstance(!qEnvironmentVariableIsEmpty(relaunchVariable));
    if (launch == SingleInstance::Launch::HandedOff) {
        return 0;
    }
    // Another Awning may run unseen: a second tint would darken the bar twice.
    if (launch == SingleInstance::Launch::Unchecked) {
        const std::string why = socket.empty() ? instance.problem() + ": " + socketProblems : instance.problem();
        std::fprintf(stderr, "Awning cannot tell whether it already runs (%s), so it does not start.\n",
                     why.c_str());
        return 1;
    }

    SessionOpening opening = openDesktopSession();
    if (!opening.session) {
        std::fprintf(stderr, "%s\n", opening.problem.c_str());
        return 1;
    }
    QtHost host(std::move(opening.session));
    instance.setStatusReporter([&host] { return host.statusReport(); });
    instance.onActivationToken([&host](const std::string& token) { host.session().setActivationToken(token); });
    if (commands.aboutRequested && commands.showAbout) {
        // Once the event loop runs, launching is over.
        QTimer::singleShot(0, &application, commands.showAbout);
    }
    return kit::applicationMain(argc, argv);
}

int printDesktopStatus(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const SingleInstance::StatusAnswer answer = SingleInstance(socketPath(), [] {}).askStatus();
    if (!answer.running) {
        std::fputs("Awning is not running.\n", stderr);
        return 1;
    }
    if (!answer.report) {
        std::fprintf(stderr, "Awning did not answer within %d s: it is stopped or busy.\n",
                     SingleInstance::statusTimeoutMilliseconds / 1000);
        return 1;
    }
    std::fputs(answer.report->c_str(), stdout);
    return 0;
}

}  // namespace qthost
