#pragma once

#include <cstdint>

#include "kit/geometry/Geometry.h"

namespace kit {

inline constexpr std::uint64_t EventModifierFlagShift = 1u << 17;

// The current input state (NSEvent's class properties).
class Event {
public:
    // The pointer in global screen coordinates, origin at the lower left of the primary screen.
    static Point mouseLocation();
    // False where the desktop keeps the pointer's place from applications: mouseLocation is then off every
    // screen.
    static bool mouseLocationIsKnown();
    static std::uint64_t modifierFlags();
};

}  // namespace kit
