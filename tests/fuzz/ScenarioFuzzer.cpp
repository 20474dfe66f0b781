#include <cstddef>
#include <cstdint>
#include <string>

#include "scenario/Scenario.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string error;
    if (const std::optional<Scenario> scenario =
            Scenario::parse(std::string(reinterpret_cast<const char*>(data), size), error)) {
        scenario->endTime();
    }
    return 0;
}
