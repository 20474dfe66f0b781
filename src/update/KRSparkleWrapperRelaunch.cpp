#include <algorithm>
#include <cctype>
#include <cstdint>
#include <optional>
#include <string>

#include "kit/appkit/Application.h"
#include "kit/appkit/RunningApplication.h"
#include "kit/appkit/Workspace.h"
#include "kit/foundation/Log.h"
#include "kit/foundation/ProcessInfo.h"
#include "kit/foundation/RunLoop.h"
#include "kit/foundation/UserDefaults.h"
#include "update/KRSparkleWrapper.h"

namespace {

constexpr const char* firstRelaunch = "skip";
constexpr const char* secondRelaunch = "skipagain";
constexpr const char* dockDomain = "com.apple.dock";
constexpr int pollLimit = 10;
constexpr double pollInterval = 0.5;
constexpr double settleInterval = 1.0;

std::string lowercased(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::optional<std::string> instanceCheckParameter() {
    const auto environment = kit::ProcessInfo::processInfo().environment();
    const auto found = environment.find(KRSparkleWrapper::instanceCheckVariable);
    return found == environment.end() ? std::nullopt : std::optional(found->second);
}

const std::string* tileBundleIdentifier(const kit::PropertyList& entry) {
    const kit::PropertyList* tile = entry.find("tile-data");
    const kit::PropertyList* identifier = tile ? tile->find("bundle-identifier") : nullptr;
    return identifier ? identifier->string() : nullptr;
}

bool isKeptInDock(const std::string& lowercasedIdentifier) {
    const auto dock = kit::UserDefaults::standard().persistentDomainForName(dockDomain);
    if (!dock) {
        return false;
    }
    const auto apps = dock->find("persistent-apps");
    if (apps == dock->end() || !apps->second.array()) {
        return false;
    }
    return std::any_of(apps->second.array()->begin(), apps->second.array()->end(), [&](const auto& entry) {
        const std::string* identifier = tileBundleIdentifier(entry);
        return identifier && lowercased(*identifier) == lowercasedIdentifier;
    });
}

bool anotherInstanceRuns(const std::string& bundleIdentifier, std::int64_t processIdentifier) {
    const auto running = kit::RunningApplication::runningApplicationsWithBundleIdentifier(bundleIdentifier);
    return std::any_of(running.begin(), running.end(), [&](const kit::RunningApplication& application) {
        return application.processIdentifier() != processIdentifier;
    });
}

// Polls until no other instance runs; false when one still does after the last poll.
bool waitForOtherInstanceToQuit(const std::string& bundleIdentifier) {
    const std::int64_t self = kit::RunningApplication::currentApplication().processIdentifier();
    for (int poll = 0; poll < pollLimit; ++poll) {
        kit::sleepForTimeInterval(pollInterval);
        if (!anotherInstanceRuns(bundleIdentifier, self)) {
            return true;
        }
        kit::log("[KRSparkleWrapper] waiting for other instance to quit");
    }
    kit::log("[KRSparkleWrapper] cannot relaunch: multiple instances");
    return false;
}

bool delegateRefusesToQuit(kit::Application& application) {
    auto* deciding = dynamic_cast<kit::ApplicationTerminationDelegate*>(application.delegate());
    return deciding && deciding->applicationShouldTerminate(application) != kit::TerminateReply::Now;
}

}  // namespace

bool KRSparkleWrapper::relaunchWithInstanceCheckParameter(const std::string& parameter, bool notifyDelegate) {
    kit::Application& application = kit::Application::shared();
    if (notifyDelegate && delegateRefusesToQuit(application)) {
        return false;
    }
    const kit::LaunchRequest request{kit::RunningApplication::currentApplication().bundleURL(),
                                     {{instanceCheckVariable, parameter}},
                                     true};
    std::string error;
    if (!kit::Workspace::shared().launchApplication(request, error)) {
        kit::log("[KRSparkleWrapper] cannot relaunch: " + error);
    }
    // The delegate takes no part in quitting; should the application go on, it keeps its delegate.
    kit::ApplicationDelegate* delegate = application.delegate();
    application.setDelegate(nullptr);
    application.terminate(nullptr);
    application.setDelegate(delegate);
    kit::log("[KRSparkleWrapper] application did not terminate");
    return false;
}

bool KRSparkleWrapper::relaunchOnceAndAgainIfRequestedAfterNotifyingDelegate(bool notifyDelegate) {
    return relaunchWithInstanceCheckParameter(firstRelaunch, notifyDelegate);
}

bool KRSparkleWrapper::relaunchAgainIfAppropriate() {
    if (instanceCheckParameter() != firstRelaunch) {
        return false;
    }
    const std::string bundleIdentifier = kit::RunningApplication::currentApplication().bundleIdentifier();
    if (bundleIdentifier.empty() || !isKeptInDock(lowercased(bundleIdentifier)) ||
        !waitForOtherInstanceToQuit(bundleIdentifier)) {
        return false;
    }
    kit::sleepForTimeInterval(settleInterval);
    return relaunchWithInstanceCheckParameter(secondRelaunch, false);
}
