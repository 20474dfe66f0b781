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
    const std::filesystem::path bundle = desktopBundleDirectory();
    std::error_code error;
    if (std::filesystem::is_regular_file(bundle / "Info.plist", error)) {
        return true;
    }
    std::fprintf(stderr, "Awning cannot find its resources (no Info.plist in %s): reinstall it.\n",
                 bundle.c_str());
    return false;
}

// Empty when the folder for it cannot be made the user's alone: then no launch hands off to another.
std::filesystem::path socketPath() {
    std::error_code error;
    const std::filesystem::path temporary = std::filesystem::temp_directory_path(error);
    const QByteArray runtimeFolder = qgetenv("XDG_RUNTIME_DIR");
    const std::filesystem::path path =
        instanceSocketPath(runtimeFolder.constData(), error ? "/tmp" : temporary, getuid());
    if (!runtimeFolder.isEmpty()) {
        return path;  // the desktop's, made private to the user
    }
    if (const std::string problem = makePrivateFolder(path.parent_path(), getuid()); !problem.empty()) {
        std::fprintf(stderr, "Awning: %s; it runs without its single-instance socket.\n", problem.c_str());
        return {};
    }
    return path;
}

}  // namespace

std::filesystem::path desktopBundleDirectory() {
    return bundleDirectory(qgetenv("AWNING_BUNDLE_DIR").constData(), executableDirectory(),
                           AWNING_INSTALL_DATADIR);
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
    QApplication application(argc, argv);

    SingleInstance instance(socketPath(), [] { kit::Application::shared().reopen(); });
    instance.handOverActivationToken(qgetenv("XDG_ACTIVATION_TOKEN"));
    if (commands.relaunch) {
        instance.onRequest(relaunchRequest, commands.relaunch);
    }
    if (commands.showAbout) {
        instance.onRequest(aboutRequest, commands.showAbout);
    }
    const bool handedOff =
        commands.aboutRequested
            ? instance.handOffRequestToRunningInstance(aboutRequest)
            : instance.handOffToRunningInstance(!qEnvironmentVariableIsEmpty(relaunchVariable));
    if (handedOff) {
        return 0;
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
    const std::optional<std::string> status = SingleInstance(socketPath(), [] {}).askStatus();
    if (!status) {
        std::fputs("Awning is not running.\n", stderr);
        return 1;
    }
    std::fputs(status->c_str(), stdout);
    return 0;
}

}  // namespace qthost
