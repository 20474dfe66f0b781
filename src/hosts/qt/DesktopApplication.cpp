#include "hosts/qt/DesktopApplication.h"

#include <unistd.h>

#include <QApplication>
#include <QTimer>
#include <filesystem>

#include "hosts/qt/Places.h"
#include "hosts/qt/QtHost.h"
#include "hosts/qt/SingleInstance.h"
#include "kit/appkit/Application.h"

namespace qthost {

namespace {

// Set for an instance started by a relaunch, while the instance that started it is still quitting.
constexpr const char* relaunchVariable = "com.larkspur.MultipleApplicationInstanceCheck";

const QByteArray aboutRequest = "about\n";

}  // namespace

int runDesktopApplication(int argc, char** argv) {
    return runDesktopApplication(argc, argv, AboutCommand{});
}

int runDesktopApplication(int argc, char** argv, const AboutCommand& about) {
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
    if (about.show) {
        instance.onRequest(aboutRequest, about.show);
    }
    const bool handedOff =
        about.requested ? instance.handOffRequestToRunningInstance(aboutRequest)
                        : instance.handOffToRunningInstance(!qEnvironmentVariableIsEmpty(relaunchVariable));
    if (handedOff) {
        return 0;
    }

    QtHost host;
    if (about.requested && about.show) {
        // Once the event loop runs, launching is over.
        QTimer::singleShot(0, &application, about.show);
    }
    return kit::applicationMain(argc, argv);
}

}  // namespace qthost
