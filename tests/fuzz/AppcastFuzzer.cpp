#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "update/SUAppcast.h"
#include "update/SUVersionComparison.h"

// A feed comes from the network: reading it, choosing its newest item and comparing its versions must
// never crash, and the choice must be an item no other supported item outranks.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string error;
    const auto appcast = SUAppcast::parse(std::string(reinterpret_cast<const char*>(data), size), error);
    if (!appcast) {
        return 0;
    }
    const SUAppcastItem* newest = appcast->newestSupportedItem();
    for (const SUAppcastItem& item : appcast->items()) {
        if (newest && item.isSupportedBySystem() &&
            SUCompareVersions(item.versionString, newest->versionString) > 0) {
            std::abort();
        }
    }
    return 0;
}
