#include "kit/appkit/TextField.h"

#include <algorithm>

namespace kit {

std::unique_ptr<TextField> TextField::labelWithString(const std::string& string) {
    auto label = std::make_unique<TextField>(Rect());
    label->setBezeled(false);
    label->setBordered(false);
    label->setDrawsBackground(false);
    label->setEditable(false);
    label->setSelectable(false);
    label->setStringValue(string);
    label->sizeToFit();
    return label;
}

void TextField::setAttributedStringValue(AttributedString string) {
    _stringValue = string.string();
    _attributedStringValue = std::move(string);
    shownStateDidChange();
}

Size TextField::cellSizeForBounds(const Rect& bounds) const {
    // Each paragraph is measured in the font of its first character (the field's when it has none).
    std::vector<std::pair<std::string, Font>> paragraphs;
    std::size_t start = 0;
    const std::u16string characters = _attributedStringValue ? _attributedStringValue->characters()
                                                             : AttributedString(_stringValue).characters();
    for (std::size_t index = 0; index <= characters.size(); ++index) {
        if (index < characters.size() && characters[index] != u'\n') {
            continue;
        }
        Font paragraphFont = font();
        if (_attributedStringValue && start < characters.size()) {
            paragraphFont = _attributedStringValue->attributesAtIndex(start).font.value_or(font());
        }
        const std::u16string piece = characters.substr(start, index - start);
        paragraphs.emplace_back(AttributedString::utf8(piece), paragraphFont);
        start = index + 1;
    }
    Size total;
    for (const auto& [paragraph, paragraphFont] : paragraphs) {
        const Size size = sizeOfWrappedText(paragraph, paragraphFont, bounds.width());
        total.width = std::max(total.width, size.width);
        total.height += size.height;
    }
    return Size{std::min(total.width, bounds.width()), std::min(total.height, bounds.height())};
}

}  // namespace kit
