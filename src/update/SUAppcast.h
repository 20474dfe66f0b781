#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "update/SUAppcastItem.h"

// A feed of updates (an RSS 2.0 channel whose items carry the Sparkle namespace's version attributes
// on their enclosure or as elements of their own).
class SUAppcast {
public:
    // The feed in `bytes`; nullopt, with the reason in `error`, when it is no well-formed RSS channel.
    // Items without a version are left out, and so are items with a version longer than
    // SUMaximumVersionLength.
    static std::optional<SUAppcast> parse(const std::string& bytes, std::string& error);

    const std::vector<SUAppcastItem>& items() const { return _items; }
    // How many items were left out for a version longer than SUMaximumVersionLength.
    std::size_t overlongVersionItemCount() const { return _overlongVersionItemCount; }
    // The item with the highest version among those the running system can take, or nullptr.
    const SUAppcastItem* newestSupportedItem() const;

private:
    std::vector<SUAppcastItem> _items;
    std::size_t _overlongVersionItemCount = 0;
};

// The longest build or display version, in bytes, that an item may carry. Real versions are a few
// characters ("2.10.1", "2024.3 beta 2"); the found version is kept in the settings and shown in menus,
// so a feed must not be able to put a long text there.
inline constexpr std::size_t SUMaximumVersionLength = 64;

inline constexpr const char* SUSparkleNamespace = "http://www.andymatuschak.org/xml-namespaces/sparkle";
