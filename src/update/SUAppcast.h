#pragma once

#include <optional>
#include <string>
#include <vector>

#include "update/SUAppcastItem.h"

// A feed of updates (an RSS 2.0 channel whose items carry the Sparkle namespace's version attributes
// on their enclosure or as elements of their own).
class SUAppcast {
public:
    // The feed in `bytes`; nullopt, with the reason in `error`, when it is no well-formed RSS channel.
    // Items without a version are left out.
    static std::optional<SUAppcast> parse(const std::string& bytes, std::string& error);

    const std::vector<SUAppcastItem>& items() const { return _items; }
    // The item with the highest version among those the running system can take, or nullptr.
    const SUAppcastItem* newestSupportedItem() const;

private:
    std::vector<SUAppcastItem> _items;
};

inline constexpr const char* SUSparkleNamespace = "http://www.andymatuschak.org/xml-namespaces/sparkle";
