#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "kit/appkit/Archiver.h"

// Whatever decodes must archive again and decode to an archive of the same bytes.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::optional<kit::ArchivedObject> object = kit::unarchiveObjectWithData({data, data + size});
    if (!object) {
        return 0;
    }
    const std::optional<kit::PropertyList::Data> archived = kit::archivedDataWithRootObject(*object);
    const std::optional<kit::ArchivedObject> again =
        archived ? kit::unarchiveObjectWithData(*archived) : std::nullopt;
    if (!again || kit::archivedDataWithRootObject(*again) != archived) {
        std::abort();
    }
    return 0;
}
