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

}  // namespace

int runDesktopApplication(int argc, char** argv) {
    // The menu bar is found in X11's window list: run on X11 (XWayland too) unless told otherwise.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    QApplication application(argc, argv);

    std::error_code error;
    const std::filesystem::path temporary = std::filesystem::temp_directory_path(error);
    SingleInstance instance(
        instanceSocketPath(qgetenv("XDG_RUNTIME_DIR").constData(), error ? "/tmp" : temporary, getuid()),
        [] { kit::Application::shared().reopen(); });
    if (instance.handOffToRunningInstance(!qEnvironmentVariableIsEmpty(relaunchVariable))) {
        return 0;
    }

    QtHost host;
    return kit::applicationMain(argc, argv);
}

}  // namespace qthost
