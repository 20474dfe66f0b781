#include <cstddef>
#include <cstdint>
#include <string>

#include "kit/foundation/StringsTable.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string error;
    kit::StringsTable::parse(std::string(reinterpret_cast<const char*>(data), size), &error);
    return 0;
}
