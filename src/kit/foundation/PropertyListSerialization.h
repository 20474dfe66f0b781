#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

#include "kit/foundation/PropertyList.h"

namespace kit {

// XML property lists in the platform's own file layout, so files move freely between the two. Dates are
// kept to the whole second, as the format writes them; reals are written so they read back exactly.
class PropertyListSerialization {
public:
    // The value `xml` holds; nullopt when it is not a well-formed property list, with the reason in
    // `error` when given.
    static std::optional<PropertyList> read(const std::string& xml, std::string* error = nullptr);
    // `value` as a complete XML property-list document.
    static std::string write(const PropertyList& value);

    // The largest file readFile reads. Awning's settings are a few kilobytes (a colour archive is under
    // 200 bytes), an Info property list less; a megabyte is ample for both and still parses in well under a
    // second, and every change rewrites the whole file, so a larger one would slow each slider step.
    static constexpr std::size_t largestFile = std::size_t{1} << 20;

    // The value the regular file at `path` holds, read under `largestFile`; nullopt when it is not there,
    // cannot be read, is no regular file, is larger or is not a property list, with the reason in `error`.
    static std::optional<PropertyList> readFile(const std::filesystem::path& path,
                                                std::string* error = nullptr);
    // Replaces `path` atomically: the document goes to a temporary file beside it, reaches the disk, and is
    // then renamed over it, so a failure or crash at any point leaves the previous file whole.
    static bool writeFile(const PropertyList& value, const std::filesystem::path& path,
                          std::string* error = nullptr);
};

}  // namespace kit
