#pragma once

#include <string>

// Compares version strings as people read them: runs of digits by value, other runs by their characters,
// separators ("." "-" "_" "+" and blanks) only splitting; a missing part counts as 0, so "1.2" equals
// "1.2.0" and "1.10" is newer than "1.9". Negative, zero or positive, as `a` is older, the same or newer.
int SUCompareVersions(const std::string& a, const std::string& b);
