#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "kit/appkit/ApplicationPort.h"

namespace kit {

// A running application of the desktop (NSRunningApplication), as the host saw it when asked.
class RunningApplication {
public:
    // Options of activateWithOptions (NSApplicationActivationOptions).
    static constexpr std::uint64_t ActivateAllWindows = 1;
    static constexpr std::uint64_t ActivateIgnoringOtherApps = 2;

    explicit RunningApplication(RunningApplicationDescription description)
        : _description(std::move(description)) {}

    // This application: its identifier from the main bundle, its process and where it lives.
    static RunningApplication currentApplication();
    // The running applications with exactly that bundle identifier (letter case counts).
    static std::vector<RunningApplication> runningApplicationsWithBundleIdentifier(
        const std::string& bundleIdentifier);

    // Empty when the application has none.
    const std::string& bundleIdentifier() const { return _description.bundleIdentifier; }
    std::int64_t processIdentifier() const { return _description.processIdentifier; }
    const std::string& bundleURL() const { return _description.bundlePath; }
    bool activateWithOptions(std::uint64_t options) const;

private:
    RunningApplicationDescription _description;
};

}  // namespace kit
