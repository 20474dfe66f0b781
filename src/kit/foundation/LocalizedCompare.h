#pragma once

#include <string_view>

namespace kit {

// NSString's localizedStandardCompare: the order the desktop's file lists use in the host's locale, letter
// case ignored and runs of digits compared by value. Negative, zero or positive, as `a` sorts before,
// with or after `b`.
int localizedStandardCompare(std::string_view a, std::string_view b);

}  // namespace kit
