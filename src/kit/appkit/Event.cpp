#include "kit/appkit/Event.h"

#include "kit/core/Host.h"

namespace kit {

Point Event::mouseLocation() {
    return host().mouseLocation();
}

bool Event::mouseLocationIsKnown() {
    return host().knowsMouseLocation();
}

std::uint64_t Event::modifierFlags() {
    return host().modifierFlags();
}

}  // namespace kit
