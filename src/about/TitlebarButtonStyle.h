#pragma once

#include <optional>

#include "kit/appkit/Button.h"
#include "kit/appkit/Control.h"
#include "kit/foundation/SystemVersion.h"
#include "kit/geometry/Geometry.h"

// How a titlebar button looks and sits on a system: newer systems draw capsules with room around them,
// older ones small textured buttons.
struct TitlebarButtonStyle {
    kit::BezelStyle bezelStyle;
    std::optional<kit::ButtonBorderShape> borderShape;  // sent only where the system has it
    kit::ControlSize controlSize;
    double fontSize;
    kit::Size padding;
    bool correctPaddingAutomatically;

    static TitlebarButtonStyle forSystem(kit::SystemVersion version);
};
