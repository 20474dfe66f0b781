#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kit {

// stringWithFormat: for object arguments: each "%@" takes the next argument, "%n$@" the n-th (so a
// translation may reorder them), "%%" is a percent sign; a missing argument reads "(null)", as the
// platform writes nil.
std::string stringWithFormat(const std::string& format,
                             const std::vector<std::optional<std::string>>& arguments);

}  // namespace kit
