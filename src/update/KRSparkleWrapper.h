#pragma once

#include <memory>
#include <optional>
#include <string>

#include "kit/appkit/Color.h"

namespace kit {
class Image;
}

// The application's updater: here its class operations.
class KRSparkleWrapper {
public:
    // --- Relaunch with instance check
    // The variable through which an instance tells the one it starts which relaunch this is.
    static constexpr const char* instanceCheckVariable = "com.larkspur.MultipleApplicationInstanceCheck";
    // Starts a new instance with the variable set to `parameter` and quits; returns (NO) only when the
    // delegate refused or the application did not quit.
    static bool relaunchWithInstanceCheckParameter(const std::string& parameter, bool notifyDelegate);
    static bool relaunchOnceAndAgainIfRequestedAfterNotifyingDelegate(bool notifyDelegate);
    // For an instance started by a first relaunch: when the Dock keeps the application, waits for the old
    // instance to go and relaunches once more; NO when it does not relaunch.
    static bool relaunchAgainIfAppropriate();

    // --- Update icons
    // A size × size image, drawn on demand: the named glyph in the background colour, with a soft shadow and
    // shading, over a disk in the highlight colour, optionally edged in the border colour.
    static std::shared_ptr<kit::Image> diskIconNamed(const std::string& name, double size, double inset,
                                                     std::optional<kit::Color> highlightColor,
                                                     std::optional<kit::Color> borderColor,
                                                     std::optional<kit::Color> backgroundColor);
    // The update icon: the system's refresh glyph on the default disk.
    static std::shared_ptr<kit::Image> updateIconWithSize(double size);
};
