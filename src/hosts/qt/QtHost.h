#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <filesystem>
#include <memory>

#include "hosts/qt/DesktopSession.h"
#include "hosts/qt/QtApplicationPort.h"
#include "hosts/qt/desktop/Autostart.h"
#include "hosts/qt/desktop/DesktopPicture.h"
#include "hosts/qt/widgets/QtControlPort.h"
#include "hosts/qt/QtScreenList.h"
#include "hosts/qt/QtURLLoadingPort.h"
#include "hosts/qt/QtWindowUpdates.h"
#include "kit/core/Host.h"
#include "kit/foundation/PropertyList.h"

namespace qthost {

// The real desktop: Qt's event loop and widgets, screens from QScreen, the window list, workspace events and
// what else only one kind of desktop has from the session it runs in (none on a platform without a desktop:
// no list, no events). Needs a QApplication; constructing one installs it as the process's host, destroying
// it uninstalls it.
class QtHost final : public kit::Host {
public:
    explicit QtHost(std::unique_ptr<DesktopSession> session = nullptr);
    ~QtHost() override;
    QtHost(const QtHost&) = delete;
    QtHost& operator=(const QtHost&) = delete;

    const ScreenCoordinates& screenCoordinates() const { return _screens.coordinates(); }
    DesktopSession& session() { return *_session; }

    // --- kit::Host
    double now() const override;
    double unixTime() const override;
    void scheduleWakeUp(std::optional<double> dueTime) override;
    void sleep(double seconds) override;
    int run() override;
    void didLog(const std::string&) override {}  // the kit's line on standard error is the log
    void beep() override;
    std::filesystem::path defaultsDirectory() const override { return _defaultsDirectory; }
    std::filesystem::path bundleDirectory() const override { return _bundleDirectory; }
    std::vector<std::string> preferredLanguages() const override;
    std::string localeName() const override;
    std::string timeZoneName() const override;
    bool openURL(const std::string& url) override;
    bool launchApplication(const kit::LaunchRequest& request, std::string& error) override;
    std::optional<std::string> desktopImageURL(std::size_t screenIndex) const override;
    int activeSpace() const override;
    bool launchesAtLogin() const override { return _autostart.isEnabled(); }
    bool setLaunchesAtLogin(bool launches, std::string& error) override {
        return _autostart.setEnabled(launches, error);
    }
    const std::vector<kit::ScreenDescription>& screens() const override { return _screens.descriptions(); }
    std::optional<kit::PropertyList::Array> windowList(std::uint32_t options,
                                                       std::uint32_t relativeToWindow) override;
    kit::Point mouseLocation() const override;
    bool knowsMouseLocation() const override { return _session->knowsPointer(); }
    std::uint64_t modifierFlags() const override;
    std::unique_ptr<kit::WindowPeer> createWindowPeer(kit::Window& window) override;
    void activateIgnoringOtherApps() override;
    QtControlPort& controlPort() override { return _controlPort; }
    QtApplicationPort& applicationPort() override { return _applicationPort; }
    kit::URLLoadingPort& urlLoadingPort() override { return _urlLoadingPort; }

    // --- desktops
    // Why the bar looks as it does, in a few plain lines (`awning --status`).
    std::string statusReport() const;

private:
    QElapsedTimer _clock;
    QTimer _wakeUp;
    std::unique_ptr<DesktopSession> _session;
    QtScreenList _screens;
    DesktopPicture _desktopPicture;
    std::filesystem::path _defaultsDirectory;
    Autostart _autostart;
    std::filesystem::path _bundleDirectory;
    QtControlPort _controlPort;
    QtApplicationPort _applicationPort{[this] { activateIgnoringOtherApps(); }};
    QtURLLoadingPort _urlLoadingPort;
    QtWindowUpdates _windowUpdates;
    std::optional<double> _lastWindowListTime;
};

}  // namespace qthost
