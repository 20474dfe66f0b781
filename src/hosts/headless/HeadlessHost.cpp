#include "hosts/headless/HeadlessHost.h"

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <system_error>
#include <utility>

#include "hosts/headless/HeadlessWindowPeer.h"
#include "kit/appkit/Application.h"
#include "kit/foundation/RunLoop.h"

namespace headless {

namespace {

std::filesystem::path makeTemporaryDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "awning-headless-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        return {};
    }
    return pattern;
}

std::filesystem::path defaultBundleDirectory() {
    if (const char* configured = std::getenv("AWNING_BUNDLE_DIR"); configured && *configured) {
        return configured;
    }
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path("resources") : executable.parent_path() / "resources";
}

}  // namespace

HeadlessHost::HeadlessHost() : HeadlessHost(Options{}) {}

HeadlessHost::HeadlessHost(Options options) : _options(std::move(options)) {
    if (_options.defaultsDirectory.empty()) {
        _temporaryDirectory = makeTemporaryDirectory();
        _options.defaultsDirectory = *_temporaryDirectory;
    }
    if (_options.bundleDirectory.empty()) {
        _options.bundleDirectory = defaultBundleDirectory();
    }
    _screens.push_back(plainScreen(1440.0, 900.0));
    kit::installHost(*this);
}

HeadlessHost::~HeadlessHost() {
    kit::uninstallHost(*this);
    if (_temporaryDirectory) {
        std::error_code ignored;
        std::filesystem::remove_all(*_temporaryDirectory, ignored);
    }
}

kit::ScreenDescription HeadlessHost::plainScreen(double width, double height) {
    kit::ScreenDescription screen;
    screen.frame = kit::Rect(0.0, 0.0, width, height);
    screen.backingScaleFactor = 2.0;
    return screen;
}

bool HeadlessHost::setLaunchesAtLogin(bool launches, std::string& error) {
    if (_launchAtLoginFailure) {
        error = *_launchAtLoginFailure;
        return false;
    }
    _launchesAtLogin = launches;
    return true;
}

void HeadlessHost::advance(double seconds) {
    advanceTo(_now + std::max(seconds, 0.0));
}

void HeadlessHost::advanceTo(double time) {
    const double target = std::max(time, _now);
    while (_wakeUp && *_wakeUp <= target) {
        _now = std::max(_now, *std::exchange(_wakeUp, std::nullopt));
        kit::RunLoop::main().runDueCalls();
    }
    _now = target;
}

void HeadlessHost::runUntilIdle() {
    advance(0.0);
}

void HeadlessHost::sleep(double seconds) {
    // The thread blocks: time passes, but no delayed call fires until the next turn.
    _now += std::max(seconds, 0.0);
    _slept += std::max(seconds, 0.0);
}

bool HeadlessHost::openURL(const std::string& url) {
    _openedURLs.push_back(url);
    return true;
}

bool HeadlessHost::launchApplication(const kit::LaunchRequest& request, std::string& error) {
    _launches.push_back(request);
    if (_launchFailure) {
        error = *_launchFailure;
        return false;
    }
    return true;
}

void HeadlessHost::setDesktopImageURL(std::size_t screenIndex, std::optional<std::string> url) {
    if (_desktopImageURLs.size() <= screenIndex) {
        _desktopImageURLs.resize(screenIndex + 1);
    }
    _desktopImageURLs[screenIndex] = std::move(url);
}

std::optional<std::string> HeadlessHost::desktopImageURL(std::size_t screenIndex) const {
    if (screenIndex >= _desktopImageURLs.size() || screenIndex >= _screens.size()) {
        return std::nullopt;
    }
    return _desktopImageURLs[screenIndex];
}

std::optional<kit::PropertyList::Array> HeadlessHost::windowList(std::uint32_t options, std::uint32_t) {
    ++_windowListRequests;
    _lastWindowListOptions = options;
    return _windowList;
}

std::unique_ptr<kit::WindowPeer> HeadlessHost::createWindowPeer(kit::Window& window) {
    return std::make_unique<HeadlessWindowPeer>(*this, window);
}

void HeadlessHost::record(WindowEvent::Kind kind, const kit::Window& window, double fadeDuration) {
    _windowEvents.push_back({kind, &window, _now, fadeDuration});
    if (_windowEventObserver) {
        _windowEventObserver(_windowEvents.back());
    }
}

}  // namespace headless
