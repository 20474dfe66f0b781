#include "update/SUAppcastItem.h"

#include "kit/foundation/SystemVersion.h"
#include "update/SUVersionComparison.h"

bool SUAppcastItem::isSupportedBySystem() const {
    const kit::SystemVersion system = kit::SystemVersion::current();
    const std::string running = std::to_string(system.major()) + "." + std::to_string(system.minor());
    return minimumSystemVersion.empty() || SUCompareVersions(minimumSystemVersion, running) <= 0;
}
