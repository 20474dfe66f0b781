#pragma once

#include <cstddef>
#include <filesystem>
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
    // What the panel takes at most. Credits are a few dozen lines of a few dozen characters; these bounds
    // leave room for a hundred times that while keeping the sort and the panel's layout to a fraction of a
    // second (10^5 lines took 12 s and 1 GB, one line of 10 MB never showed).
    static constexpr std::size_t largestText = std::size_t{64} << 10;
    static constexpr std::size_t mostLines = 1000;

    std::vector<std::string> creditLines;  // in the text's order
    // The bundle's copyright, an em dash and the rest of the last "=> " line; nullopt without one.
    std::optional<std::string> copyright;

    // Splits at every newline character (a CR LF leaves an empty piece between, dropped with the other
    // empty lines); lines are not trimmed.
    static AboutCredits parse(std::string_view text, const std::string& bundleCopyright);
    // The credits in the UTF-8 text file at `path`; nullopt, with the reason in `error`, when it cannot be
    // read, is not UTF-8, is larger than `largestText` or holds more than `mostLines` credit lines.
    static std::optional<AboutCredits> read(const std::filesystem::path& path, const std::string& bundleCopyright,
                                            std::string& error);

    // The panel's credits: the lines in the localized standard order, then the image linking to
    // `homePage`, centred; nullopt when there are neither lines nor an image.
    std::optional<kit::AttributedString> creditsString(std::shared_ptr<kit::Image> image,
                                                       const std::string& homePage) const;
};
