#include "update/SUAppcast.h"

#include "kit/foundation/XMLElement.h"
#include "update/SUVersionComparison.h"

namespace {

// A Sparkle value given as an enclosure attribute or as an element of the item, the element first.
std::string sparkleValue(const kit::XMLElement& item, const std::string& name) {
    if (const kit::XMLElement* element = item.child(SUSparkleNamespace, name)) {
        return element->text;
    }
    if (const kit::XMLElement* enclosure = item.child("", "enclosure")) {
        return enclosure->attribute(SUSparkleNamespace, name).value_or("");
    }
    return {};
}

std::optional<SUAppcastItem> itemFromElement(const kit::XMLElement& element) {
    SUAppcastItem item;
    item.versionString = sparkleValue(element, "version");
    if (item.versionString.empty()) {
        return std::nullopt;
    }
    item.displayVersionString = sparkleValue(element, "shortVersionString");
    if (item.displayVersionString.empty()) {
        item.displayVersionString = item.versionString;
    }
    item.minimumSystemVersion = sparkleValue(element, "minimumSystemVersion");
    // The enclosure is the download itself, never a page to send people to.
    if (const kit::XMLElement* link = element.child("", "link")) {
        item.infoURL = link->text;
    }
    if (const kit::XMLElement* notes = element.child(SUSparkleNamespace, "releaseNotesLink")) {
        item.releaseNotesURL = notes->text;
    }
    return item;
}

bool hasOverlongVersion(const SUAppcastItem& item) {
    return item.versionString.size() > SUMaximumVersionLength ||
           item.displayVersionString.size() > SUMaximumVersionLength;
}

}  // namespace

std::optional<SUAppcast> SUAppcast::parse(const std::string& bytes, std::string& error) {
    const std::optional<kit::XMLElement> root = kit::XMLElement::parseDocument(bytes, error);
    if (!root) {
        return std::nullopt;
    }
    const kit::XMLElement* channel = root->child("", "channel");
    if (root->localName != "rss" || !channel) {
        error = "not an RSS channel";
        return std::nullopt;
    }
    SUAppcast appcast;
    for (const kit::XMLElement& element : channel->children) {
        if (element.namespaceURI.empty() && element.localName == "item") {
            std::optional<SUAppcastItem> item = itemFromElement(element);
            if (item && hasOverlongVersion(*item)) {
                ++appcast._overlongVersionItemCount;
            } else if (item) {
                appcast._items.push_back(std::move(*item));
            }
        }
    }
    return appcast;
}

const SUAppcastItem* SUAppcast::newestSupportedItem() const {
    const SUAppcastItem* newest = nullptr;
    for (const SUAppcastItem& item : _items) {
        if (item.isSupportedBySystem() &&
            (!newest || SUCompareVersions(item.versionString, newest->versionString) > 0)) {
            newest = &item;
        }
    }
    return newest;
}
