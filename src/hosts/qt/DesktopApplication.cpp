#include "hosts/qt/DesktopApplication.h"

#include <unistd.h>

#include <QApplication>
#include <filesystem>

#include "hosts/qt/Places.h"
#include "hosts/qt/QtHost.h"
#include "hosts/qt/SingleInstance.h"
#include "kit/appkit/Application.h"

namespace qthost {

namespace {

// Set for an instance started by a relaunch, while the instance that started it is still quitting.
constexpr const char* relaunchVariable = "com.larkspur.MultipleApplicationInstanceCheck";

std::filesystem::path socketPath() {
    std::error_code error;
    const std::filesystem::path temporary = std::filesystem::temp_directory_path(error);
    return instanceSocketPath(qgetenv("XDG_RUNTIME_DIR").constData(), error ? "/tmp" : temporary, getuid());
}

}  // namespace

int runDesktopApplication(int argc, char** argv) {
    return runDesktopApplication(argc, argv, {});
}

bool requestRelaunchOfRunningInstance(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    return SingleInstance(socketPath(), [] {}).sendRelaunch();
}

int runDesktopApplication(int argc, char** argv, std::function<void()> relaunch) {
    // The menu bar is found in X11's window list: run on X11 (XWayland too) unless told otherwise.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    QApplication application(argc, argv);

    SingleInstance instance(socketPath(), [] { kit::Application::shared().reopen(); });
    if (instance.handOffToRunningInstance(!qEnvironmentVariableIsEmpty(relaunchVariable))) {
        return 0;
    }
    instance.setRelaunchHandler(std::move(relaunch));

    QtHost host;
    return kit::applicationMain(argc, argv);
}

}  // namespace qthost
