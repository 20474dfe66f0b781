#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kit/text/AttributedString.h"

namespace kit {
class Image;
}

// What the application's "Credits" text says: one credit per line, and lines beginning with "=> " that
// finish the copyright line instead.
struct AboutCredits {
    std::vector<std::string> creditLines;  // in the text's order
    // The bundle's copyright, an em dash and the rest of the last "=> " line; nullopt without one.
    std::optional<std::string> copyright;

    // Splits at every newline character (a CR LF leaves an empty piece between, dropped with the other
    // empty lines); lines are not trimmed.
    static AboutCredits parse(std::string_view text, const std::string& bundleCopyright);

    // The panel's credits: the lines in the localized standard order, then the image linking to
    // `homePage`, centred; nullopt when there are neither lines nor an image.
    std::optional<kit::AttributedString> creditsString(std::shared_ptr<kit::Image> image,
                                                       const std::string& homePage) const;
};
