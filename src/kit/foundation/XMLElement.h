#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kit {

// One element of an XML document read whole (NSXMLElement): its namespace and local name, attributes,
// the text directly inside it and its child elements in order.
struct XMLElement {
    struct Attribute {
        std::string namespaceURI;
        std::string localName;
        std::string value;
    };

    std::string namespaceURI;
    std::string localName;
    std::vector<Attribute> attributes;
    std::string text;
    std::vector<XMLElement> children;

    // The first child named so, or nullptr.
    const XMLElement* child(const std::string& namespaceURI, const std::string& localName) const;
    // The attribute named so, or nullopt.
    std::optional<std::string> attribute(const std::string& namespaceURI, const std::string& localName) const;

    // The root element of `bytes`; nullopt, with the reader's reason (and line) in `error`, for anything
    // that is not one well-formed document.
    static std::optional<XMLElement> parseDocument(const std::string& bytes, std::string& error);
};

}  // namespace kit
