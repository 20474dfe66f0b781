#include "kit/appkit/RunningApplication.h"

#include "kit/core/Host.h"
#include "kit/foundation/Bundle.h"

namespace kit {

RunningApplication RunningApplication::currentApplication() {
    ApplicationPort& port = host().applicationPort();
    return RunningApplication(
        {Bundle::main().bundleIdentifier().value_or(""), port.processIdentifier(), port.bundlePath()});
}

std::vector<RunningApplication> RunningApplication::runningApplicationsWithBundleIdentifier(
    const std::string& bundleIdentifier) {
    std::vector<RunningApplication> found;
    for (auto& description : host().applicationPort().runningApplications()) {
        if (description.bundleIdentifier == bundleIdentifier) {
            found.emplace_back(std::move(description));
        }
    }
    return found;
}

bool RunningApplication::activateWithOptions(std::uint64_t options) const {
    return host().applicationPort().activateApplication(_description.processIdentifier, options);
}

}  // namespace kit
