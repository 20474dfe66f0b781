#include "hosts/qt/QtHost.h"

#include <QApplication>
#include <QCursor>
#include <QDateTime>
#include <QDesktopServices>
#include <QLocale>
#include <QProcess>
#include <QTimeZone>
#include <QUrl>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <optional>
#include <string>
#include <thread>

#include "hosts/qt/ModifierFlags.h"
#include "hosts/qt/PlainSession.h"
#include "hosts/qt/desktop/Places.h"
#include "hosts/qt/widgets/QtImages.h"
#include "hosts/qt/desktop/StatusReport.h"
#include "hosts/qt/widgets/OverlaySurfacePeer.h"
#include "hosts/qt/widgets/QtWindowPeer.h"
#include "kit/appkit/Appearance.h"
#include "kit/appkit/Application.h"
#include "kit/appkit/Window.h"
#include "kit/foundation/Bundle.h"
#include "kit/foundation/RunLoop.h"
#include "kit/foundation/UserDefaults.h"
#include "kit/graphics/Image.h"

namespace qthost {

namespace {

std::string environment(const char* name) {
    return qEnvironmentVariable(name).toStdString();
}

}  // namespace

QtHost::QtHost(std::unique_ptr<DesktopSession> session)
    : _session(session ? std::move(session) : std::make_unique<PlainSession>()),
      _screens([] { kit::Application::shared().screenParametersDidChange(); }),
      _desktopPicture(environment("XDG_CURRENT_DESKTOP")),
      _defaultsDirectory(
          qthost::defaultsDirectory(qgetenv("XDG_CONFIG_HOME").constData(), qgetenv("HOME").constData())),
      _autostart(qthost::configHome(qgetenv("XDG_CONFIG_HOME").constData(), qgetenv("HOME").constData()),
                 QCoreApplication::applicationFilePath().toStdString()),
      _bundleDirectory(qthost::bundleDirectory(qgetenv("AWNING_BUNDLE_DIR").constData(),
                                               QCoreApplication::applicationDirPath().toStdString(),
                                               AWNING_INSTALL_DATADIR)) {
    _clock.start();
    _wakeUp.setSingleShot(true);
    _wakeUp.setTimerType(Qt::PreciseTimer);
    QObject::connect(&_wakeUp, &QTimer::timeout, [] { kit::RunLoop::main().runDueCalls(); });
    // The tint window closes whenever the menu bar hides; that must not end the application.
    QApplication::setQuitOnLastWindowClosed(false);
    kit::installHost(*this);
    // Every window, the About panel and Qt's own dialogs included, shows the bundle's icon.
    if (const std::shared_ptr<kit::Image> icon = kit::Application::shared().applicationIconImage()) {
        QApplication::setWindowIcon(qtIcon(*icon));
    }
    // The launcher is named by the bundle identifier: on Wayland the compositor, and the docks that read
    // it, match Awning's windows to the launcher by this name (its app id).
    if (const std::optional<std::string> identifier = kit::Bundle::main().infoString("CFBundleIdentifier")) {
        QGuiApplication::setDesktopFileName(QString::fromStdString(*identifier));
    }
    // Views are drawn in the desktop's appearance: dark when its windows are.
    if (QApplication::palette().color(QPalette::Window).lightness() < 128) {
        kit::Appearance::setSystem(kit::Appearance::appearanceNamed(kit::AppearanceNameDarkAqua));
    }
}

QtHost::~QtHost() {
    _wakeUp.stop();
    kit::uninstallHost(*this);
}

double QtHost::now() const {
    return static_cast<double>(_clock.nsecsElapsed()) / 1e9;
}

double QtHost::unixTime() const {
    return static_cast<double>(QDateTime::currentMSecsSinceEpoch()) / 1000.0;
}

void QtHost::scheduleWakeUp(std::optional<double> dueTime) {
    if (!dueTime) {
        _wakeUp.stop();
        return;
    }
    // Rounded up, so the timer never fires before the call is due; capped at what a QTimer holds.
    const double milliseconds = std::ceil((*dueTime - now()) * 1000.0);
    _wakeUp.start(static_cast<int>(std::clamp(milliseconds, 0.0, 2147483647.0)));
}

void QtHost::sleep(double seconds) {
    std::this_thread::sleep_for(std::chrono::duration<double>(std::max(seconds, 0.0)));
}

int QtHost::run() {
    return QApplication::exec();
}

void QtHost::beep() {
    QApplication::beep();
}

std::vector<std::string> QtHost::preferredLanguages() const {
    std::vector<std::string> tags;
    for (const QString& tag : QLocale::system().uiLanguages()) {
        tags.push_back(tag.toStdString());
    }
    return languageCodes(tags);
}

std::string QtHost::localeName() const {
    return QLocale::system().name().toStdString();
}

std::string QtHost::timeZoneName() const {
    const QByteArray zone = QTimeZone::systemTimeZoneId();
    return zone.isEmpty() ? "UTC" : zone.toStdString();
}

bool QtHost::openURL(const std::string& url) {
    const QUrl address(QString::fromStdString(url), QUrl::StrictMode);
    return address.isValid() && !address.isRelative() && QDesktopServices::openUrl(address);
}

bool QtHost::launchApplication(const kit::LaunchRequest& request, std::string& error) {
    if (request.applicationPath.empty()) {
        error = "no application to launch";
        return false;
    }
    QProcess process;
    process.setProgram(QString::fromStdString(request.applicationPath));
    // The request adds to our environment: the display, the session bus and the like must reach the new
    // process.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : request.environment) {
        environment.insert(QString::fromStdString(name), QString::fromStdString(value));
    }
    process.setProcessEnvironment(environment);
    if (!process.startDetached()) {
        error = "cannot launch " + request.applicationPath + ": " + process.errorString().toStdString();
        return false;
    }
    return true;
}

std::optional<std::string> QtHost::desktopImageURL(std::size_t screenIndex) const {
    if (screenIndex >= _screens.descriptions().size()) {
        return std::nullopt;
    }
    return _desktopPicture.url();
}

int QtHost::activeSpace() const {
    return _session->activeSpace();
}

std::optional<kit::PropertyList::Array> QtHost::windowList(std::uint32_t options, std::uint32_t) {
    std::optional<kit::PropertyList::Array> list = _session->windowList(options, _screens.sessionScreens());
    if (list) {
        _lastWindowListTime = now();
    }
    return list;
}

kit::Point QtHost::mouseLocation() const {
    if (const std::optional<PixelPoint> pointer = _session->pointer()) {
        return _screens.coordinates().toKit(
            kit::Point{static_cast<double>(pointer->x), static_cast<double>(pointer->y)});
    }
    if (!knowsMouseLocation()) {
        // Qt knows the pointer only over our own windows: elsewhere it would tell a stale place. Far off every
        // screen, it hovers over nothing.
        return kit::Point{-1e9, -1e9};
    }
    const QPoint position = QCursor::pos();
    return _screens.coordinates().toKit(
        kit::Point{static_cast<double>(position.x()), static_cast<double>(position.y())});
}

std::uint64_t QtHost::modifierFlags() const {
    return platformModifierFlags(QGuiApplication::queryKeyboardModifiers());
}

std::unique_ptr<kit::WindowPeer> QtHost::createWindowPeer(kit::Window& window) {
    if (QtWindowPeer::isOverlay(window)) {
        if (std::unique_ptr<OverlaySurface> surface = _session->createOverlaySurface()) {
            return std::make_unique<OverlaySurfacePeer>(window, std::move(surface), _screens.coordinates());
        }
    }
    return std::make_unique<QtWindowPeer>(*this, window);
}

std::string QtHost::statusReport() const {
    StatusFacts facts;
    facts.session = _session->status();
    facts.strip = facts.session.tint;
    facts.currentOpacity = facts.session.tintOpacity;
    for (const QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->windowFlags().testFlag(Qt::WindowTransparentForInput)) {
            const QRect geometry = widget->geometry();
            facts.strip = PixelRect{geometry.x(), geometry.y(), geometry.width(), geometry.height()};
            facts.currentOpacity = widget->windowOpacity();
        }
    }
    const kit::UserDefaults& defaults = kit::UserDefaults::standard();
    const auto opacity = [&](const char* key, double fallback) {
        // As the tint reads them: a value with no finite number stands for the default.
        const std::optional<kit::PropertyList> stored = defaults.objectForKey(key);
        const std::optional<double> value = stored ? stored->doubleValue() : std::nullopt;
        return value && std::isfinite(*value) ? *value : fallback;
    };
    facts.idleOpacity = opacity("Idle Alpha", 0.2);
    facts.hoverOpacity = opacity("Hover Alpha", 0.0);
    facts.desktopKey = desktopImageURL(0).value_or("(Unknown)");
    if (_lastWindowListTime) {
        facts.secondsSinceCheck = now() - *_lastWindowListTime;
    }
    return qthost::statusReport(facts);
}

// Every window comes forward and the key window last, the only one asked to take the keyboard: activating
// each in turn left it with whichever came last, often the About panel over the settings window just made key.
void QtHost::activateIgnoringOtherApps() {
    kit::Window* key = kit::Application::shared().keyWindow();
    auto* keyPeer = key ? dynamic_cast<QtWindowPeer*>(key->peer()) : nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && !widget->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus) &&
            (!keyPeer || widget != &keyPeer->widget())) {
            widget->raise();
        }
    }
    if (keyPeer) {
        keyPeer->didBecomeKey();
    }
}

}  // namespace qthost
