#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "kit/foundation/PropertyListSerialization.h"

// Any document read must write out as one that reads back to the same document: the settings file is
// rewritten from what was read, so a value that does not survive the trip would be lost on the next save.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::optional<kit::PropertyList> value =
        kit::PropertyListSerialization::read(std::string(reinterpret_cast<const char*>(data), size));
    if (!value) {
        return 0;
    }
    const std::string written = kit::PropertyListSerialization::write(*value);
    const std::optional<kit::PropertyList> reread = kit::PropertyListSerialization::read(written);
    if (!reread || kit::PropertyListSerialization::write(*reread) != written) {
        std::abort();
    }
    return 0;
}
