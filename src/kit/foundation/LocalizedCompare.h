#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kit {

// NSString's localizedStandardCompare: the order the desktop's file lists use in the host's locale, letter
// case ignored and runs of digits compared by value. Negative, zero or positive, as `a` sorts before,
// with or after `b`.
int localizedStandardCompare(std::string_view a, std::string_view b);

// Sorts `strings` ascending by localizedStandardCompare, stable. One collator serves the whole sort and each
// string is decoded once: making a collator costs far more than a comparison, and a sort makes n log n.
void sortByLocalizedStandardCompare(std::vector<std::string>& strings);

}  // namespace kit
