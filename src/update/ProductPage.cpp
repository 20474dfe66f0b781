#include "update/ProductPage.h"

#include <algorithm>
#include <cctype>

#include "kit/foundation/Bundle.h"

std::string productPageAddress(const kit::Bundle& bundle) {
    std::string name = bundle.infoString("CFBundleName").value_or("");
    const std::string site = bundle.infoString("KRMakerSiteURL").value_or("");
    if (name.empty() || site.empty()) {
        return {};
    }
    std::erase(name, ' ');
    // ASCII letters: the name is ours.
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return site + name;
}
