#include "kit/foundation/XMLElement.h"

#include <QByteArray>
#include <QXmlStreamReader>

namespace kit {

namespace {

// Deeper documents are refused rather than read by ever deeper recursion.
constexpr int maximumDepth = 256;

// Reads the element whose start the reader has just passed, with everything inside it.
XMLElement readElement(QXmlStreamReader& reader, int depth) {
    if (depth > maximumDepth) {
        reader.raiseError(QStringLiteral("elements nested too deeply"));
        return {};
    }
    XMLElement element;
    element.namespaceURI = reader.namespaceUri().toString().toStdString();
    element.localName = reader.name().toString().toStdString();
    for (const QXmlStreamAttribute& attribute : reader.attributes()) {
        element.attributes.push_back({attribute.namespaceUri().toString().toStdString(),
                                      attribute.name().toString().toStdString(),
                                      attribute.value().toString().toStdString()});
    }
    while (reader.readNext() != QXmlStreamReader::Invalid && !reader.isEndElement()) {
        if (reader.isStartElement()) {
            element.children.push_back(readElement(reader, depth + 1));
        } else if (reader.isCharacters()) {
            element.text += reader.text().toString().toStdString();
        }
    }
    return element;
}

}  // namespace

const XMLElement* XMLElement::child(const std::string& uri, const std::string& name) const {
    for (const XMLElement& element : children) {
        if (element.namespaceURI == uri && element.localName == name) {
            return &element;
        }
    }
    return nullptr;
}

std::optional<std::string> XMLElement::attribute(const std::string& uri, const std::string& name) const {
    for (const Attribute& candidate : attributes) {
        if (candidate.namespaceURI == uri && candidate.localName == name) {
            return candidate.value;
        }
    }
    return std::nullopt;
}

std::optional<XMLElement> XMLElement::parseDocument(const std::string& bytes, std::string& error) {
    QXmlStreamReader reader(QByteArray::fromStdString(bytes));
    std::optional<XMLElement> root;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            root = readElement(reader, 1);
        }
    }
    if (reader.hasError()) {
        error = reader.errorString().toStdString() + " (line " + std::to_string(reader.lineNumber()) + ")";
        return std::nullopt;
    }
    if (!root) {
        error = "no root element";
    }
    return root;
}

}  // namespace kit
