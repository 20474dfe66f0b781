#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "hosts/headless/HeadlessApplicationPort.h"
#include "hosts/headless/HeadlessControlPort.h"
#include "hosts/headless/HeadlessURLLoadingPort.h"
#include "kit/core/Host.h"
#include "kit/core/Object.h"
#include "kit/foundation/PropertyList.h"

namespace headless {

class HeadlessWindowPeer;

// One thing a window peer saw, in the order it happened.
struct WindowEvent {
    enum class Kind {
        Created,
        FrameChanged,
        LevelChanged,
        AlphaChanged,
        OrderedFront,
        BecameKey,
        Closed,
        Redrawn,
        Destroyed
    };
    Kind kind;
    const kit::Window* window;
    double time;          // virtual clock
    double fadeDuration;  // AlphaChanged only; 0 = at once
};

// A deterministic world for tests and scenario runs: a virtual clock, scripted screens, window list,
// pointer, modifier flags, spaces and desktop pictures; it records beeps, log messages, opened
// addresses, launches and what window peers saw. Constructing one installs it (a fresh process);
// destroying it uninstalls it.
class HeadlessHost final : public kit::Host {
public:
    struct Options {
        // Defaults domains live here; empty: a fresh temporary folder, removed with the host.
        std::filesystem::path defaultsDirectory;
        // The main bundle; empty: $AWNING_BUNDLE_DIR, else the "resources" folder beside the executable.
        std::filesystem::path bundleDirectory;
        std::vector<std::string> preferredLanguages{"en"};
        std::string localeName = "en_US";
        std::string timeZoneName = "UTC";
        // Unix time the virtual clock starts at: 2026-01-05 12:00:00 UTC.
        double startUnixTime = 1767614400.0;
    };

    HeadlessHost();
    explicit HeadlessHost(Options options);
    ~HeadlessHost() override;

    // --- Clock: fires every delayed call that falls due within `seconds`, in time order, including
    // calls scheduled by those calls; the clock ends exactly `seconds` later. Like a desktop event loop,
    // it runs a turn only when the run loop asked to be woken, once per request.
    void advance(double seconds);
    // The same, up to the absolute clock time `time` (nothing happens when it has passed).
    void advanceTo(double time);
    // Runs turns until nothing is due at the current time (calls made with zero delay).
    void runUntilIdle();
    double elapsed() const { return _now; }

    // --- Scripting
    void setScreens(std::vector<kit::ScreenDescription> screens) { _screens = std::move(screens); }
    void setWindowList(std::optional<kit::PropertyList::Array> list) { _windowList = std::move(list); }
    void setMouseLocation(kit::Point location) { _mouseLocation = location; }
    void setKnowsMouseLocation(bool knows) { _knowsMouseLocation = knows; }
    void setModifierFlags(std::uint64_t flags) { _modifierFlags = flags; }
    void setDesktopImageURL(std::size_t screenIndex, std::optional<std::string> url);
    void setActiveSpace(int space) { _activeSpace = space; }
    void setLaunchFailure(std::optional<std::string> error) { _launchFailure = std::move(error); }
    // The desktop's start-at-login setting as the user left it, and a refusal to change it.
    void setLaunchAtLoginState(bool launches) { _launchesAtLogin = launches; }
    void setLaunchAtLoginFailure(std::optional<std::string> error) {
        _launchAtLoginFailure = std::move(error);
    }

    // --- Observation
    std::size_t beepCount() const { return _beeps; }
    const std::vector<std::string>& logMessages() const { return _logMessages; }
    const std::vector<std::string>& openedURLs() const { return _openedURLs; }
    const std::vector<kit::LaunchRequest>& launches() const { return _launches; }
    const std::vector<WindowEvent>& windowEvents() const { return _windowEvents; }
    void clearWindowEvents() { _windowEvents.clear(); }
    // What peers heard changed in windows' shown state, in order: the view for a view's change, the
    // window for its title or content view. Kept apart from windowEvents, which traces the overlay.
    const std::vector<const kit::Object*>& shownStateChanges() const { return _shownStateChanges; }
    void clearShownStateChanges() { _shownStateChanges.clear(); }
    std::size_t activationCount() const { return _activations; }
    std::size_t windowListRequests() const { return _windowListRequests; }
    std::uint32_t lastWindowListOptions() const { return _lastWindowListOptions; }
    double sleptSeconds() const { return _slept; }
    // --- Idle cost: how often the run loop asked to be woken (a real host re-arms a timer each time).
    std::size_t wakeUpRequests() const { return _wakeUpRequests; }
    // Called after each recorded window event (scenario traces).
    void setWindowEventObserver(std::function<void(const WindowEvent&)> observer) {
        _windowEventObserver = std::move(observer);
    }

    // --- kit::Host
    double now() const override { return _now; }
    double unixTime() const override { return _options.startUnixTime + _now; }
    void scheduleWakeUp(std::optional<double> dueTime) override {
        _wakeUp = dueTime;
        ++_wakeUpRequests;
    }
    void sleep(double seconds) override;
    // Tests and scenarios drive the clock themselves: there is no loop to run.
    int run() override { return 0; }
    void didLog(const std::string& message) override { _logMessages.push_back(message); }
    void beep() override { ++_beeps; }
    std::filesystem::path defaultsDirectory() const override { return _options.defaultsDirectory; }
    std::filesystem::path bundleDirectory() const override { return _options.bundleDirectory; }
    std::vector<std::string> preferredLanguages() const override { return _options.preferredLanguages; }
    std::string localeName() const override { return _options.localeName; }
    std::string timeZoneName() const override { return _options.timeZoneName; }
    bool openURL(const std::string& url) override;
    bool launchApplication(const kit::LaunchRequest& request, std::string& error) override;
    std::optional<std::string> desktopImageURL(std::size_t screenIndex) const override;
    int activeSpace() const override { return _activeSpace; }
    bool launchesAtLogin() const override { return _launchesAtLogin; }
    bool setLaunchesAtLogin(bool launches, std::string& error) override;
    const std::vector<kit::ScreenDescription>& screens() const override { return _screens; }
    std::optional<kit::PropertyList::Array> windowList(std::uint32_t options,
                                                       std::uint32_t relativeToWindow) override;
    kit::Point mouseLocation() const override { return _mouseLocation; }
    bool knowsMouseLocation() const override { return _knowsMouseLocation; }
    std::uint64_t modifierFlags() const override { return _modifierFlags; }
    std::unique_ptr<kit::WindowPeer> createWindowPeer(kit::Window& window) override;
    void activateIgnoringOtherApps() override { ++_activations; }
    // Scripted metrics and menu choices (see HeadlessControlPort).
    HeadlessControlPort& controlPort() override { return _controlPort; }
    // Scripted process, other applications and quitting (see HeadlessApplicationPort).
    HeadlessApplicationPort& applicationPort() override { return _applicationPort; }
    // Files and "file:" addresses, and the answers a test scripted (see HeadlessURLLoadingPort).
    HeadlessURLLoadingPort& urlLoadingPort() override { return _urlLoadingPort; }

    void record(WindowEvent::Kind kind, const kit::Window& window, double fadeDuration = 0.0);
    void recordShownStateChange(const kit::Object& changed) { _shownStateChanges.push_back(&changed); }

    // A primary screen of the given size with the default desktop scale, no camera housing.
    static kit::ScreenDescription plainScreen(double width, double height);

private:
    Options _options;
    std::optional<std::filesystem::path> _temporaryDirectory;
    double _now = 0.0;
    std::optional<double> _wakeUp;
    std::vector<kit::ScreenDescription> _screens;
    std::optional<kit::PropertyList::Array> _windowList;
    kit::Point _mouseLocation;
    bool _knowsMouseLocation = true;
    std::uint64_t _modifierFlags = 0;
    std::vector<std::optional<std::string>> _desktopImageURLs;
    int _activeSpace = 1;
    std::optional<std::string> _launchFailure;
    bool _launchesAtLogin = false;
    std::optional<std::string> _launchAtLoginFailure;

    std::size_t _beeps = 0;
    std::vector<std::string> _logMessages;
    std::vector<std::string> _openedURLs;
    std::vector<kit::LaunchRequest> _launches;
    std::vector<WindowEvent> _windowEvents;
    std::vector<const kit::Object*> _shownStateChanges;
    std::function<void(const WindowEvent&)> _windowEventObserver;
    std::size_t _activations = 0;
    std::size_t _windowListRequests = 0;
    std::uint32_t _lastWindowListOptions = 0;
    double _slept = 0.0;
    std::size_t _wakeUpRequests = 0;
    HeadlessControlPort _controlPort;
    HeadlessApplicationPort _applicationPort{[this] { return _now; }};
    HeadlessURLLoadingPort _urlLoadingPort;
};

}  // namespace headless
