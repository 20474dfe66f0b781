#include "kit/appkit/Event.h"

#include "kit/core/Host.h"

namespace kit {

Point Event::mouseLocation() {
    return host().mouseLocation();
}

std::uint64_t Event::modifierFlags() {
    return host().modifierFlags();
}

}  // namespace kit
