#include "statusitem/KRSetActivationPolicy.h"

#include <cmath>
#include <string>

#include "kit/appkit/Application.h"
#include "kit/appkit/RunningApplication.h"
#include "kit/foundation/Log.h"
#include "kit/foundation/RunLoop.h"
#include "kit/foundation/SystemVersion.h"
#include "kit/foundation/UserDefaults.h"

namespace {

constexpr double firstAccessoryAppKit = 1265.0;
constexpr double activationDelay = 0.5;

bool fail(kit::ActivationPolicy policy) {
    kit::log("cannot set activation policy: " + std::to_string(static_cast<long>(policy)));
    kit::beep();
    return false;
}

// Newer systems only show the menu bar of a newly regular application once another one was active.
void activateDock() {
    const auto docks = kit::RunningApplication::runningApplicationsWithBundleIdentifier("com.apple.dock");
    if (!docks.empty()) {
        docks.front().activateWithOptions(0);
    }
}

bool activatesAfterSwitchingToRegular(bool activate) {
    if (activate || kit::SystemVersion::current().isAtLeast(10, 15)) {
        activateDock();
        return true;
    }
    return !kit::UserDefaults::standard().boolForKey("Application Mode: Dock: Background Launch");
}

}  // namespace

bool KRSetActivationPolicy(bool background, bool activate, bool* notAttempted,
                           std::function<void()> completion) {
    const auto policy = background ? kit::ActivationPolicy::Accessory : kit::ActivationPolicy::Regular;
    kit::Application& application = kit::Application::shared();
    if (application.activationPolicy() == policy) {
        return true;
    }
    if (background && std::floor(kit::SystemVersion::appKitVersionNumber()) < firstAccessoryAppKit) {
        if (!notAttempted) {
            return fail(policy);
        }
        *notAttempted = true;
        return true;
    }
    if (!application.setActivationPolicy(policy)) {
        return fail(policy);
    }
    const bool activates = background ? activate : activatesAfterSwitchingToRegular(activate);
    if (!activates) {
        return true;
    }
    kit::dispatchAfter(activationDelay, [completion = std::move(completion)] {
        kit::Application::shared().activateIgnoringOtherApps(true);
        if (completion) {
            completion();
        }
    });
    return true;
}

bool KRSetActivationPolicy(bool background, bool activate, bool* notAttempted) {
    return KRSetActivationPolicy(background, activate, notAttempted, nullptr);
}
