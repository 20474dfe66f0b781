#pragma once

#include <string>

namespace kit {
class Bundle;
}  // namespace kit

// The product's page: the maker's site ("KRMakerSiteURL") followed by the bundle's name without blanks,
// lowercased; empty when the name or the site is missing.
std::string productPageAddress(const kit::Bundle& bundle);
