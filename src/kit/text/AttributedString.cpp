#include "kit/text/AttributedString.h"

#include <QString>
#include <algorithm>

namespace kit {

namespace {

std::string toUTF8(std::u16string_view characters) {
    return QString::fromUtf16(characters.data(), static_cast<qsizetype>(characters.size())).toStdString();
}

}  // namespace

void TextAttributes::merge(const TextAttributes& other) {
    if (other.font) {
        font = other.font;
    }
    if (other.foregroundColor) {
        foregroundColor = other.foregroundColor;
    }
    if (other.toolTip) {
        toolTip = other.toolTip;
    }
    if (other.paragraphStyle) {
        paragraphStyle = other.paragraphStyle;
    }
    if (other.baselineOffset) {
        baselineOffset = other.baselineOffset;
    }
    if (other.attachment) {
        attachment = other.attachment;
    }
}

AttributedString::AttributedString(std::string_view utf8, const TextAttributes& attributes)
    : _characters(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())).toStdU16String()),
      _attributes(_characters.size(), attributes) {}

AttributedString AttributedString::withAttachment(std::shared_ptr<TextAttachment> attachment) {
    AttributedString string;
    string._characters.push_back(AttachmentCharacter);
    TextAttributes attributes;
    attributes.attachment = std::move(attachment);
    string._attributes.push_back(std::move(attributes));
    return string;
}

std::string AttributedString::utf8(std::u16string_view characters) {
    return toUTF8(characters);
}

std::string AttributedString::string() const {
    return toUTF8(_characters);
}

void AttributedString::append(const AttributedString& other) {
    _characters += other._characters;
    _attributes.insert(_attributes.end(), other._attributes.begin(), other._attributes.end());
}

void AttributedString::addAttributes(const TextAttributes& attributes, TextRange range) {
    const std::size_t begin = std::min(range.location, length());
    const std::size_t end = begin + std::min(range.length, length() - begin);
    for (std::size_t index = begin; index < end; ++index) {
        _attributes[index].merge(attributes);
    }
}

std::vector<AttributedString::Run> AttributedString::runs() const {
    std::vector<Run> runs;
    std::size_t start = 0;
    for (std::size_t index = 1; index <= length(); ++index) {
        if (index == length() || !(_attributes[index] == _attributes[start])) {
            const std::u16string_view piece(_characters.data() + start, index - start);
            runs.push_back(Run{{start, index - start}, toUTF8(piece), _attributes[start]});
            start = index;
        }
    }
    return runs;
}

}  // namespace kit
