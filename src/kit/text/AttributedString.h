#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kit/appkit/Color.h"
#include "kit/appkit/Font.h"
#include "kit/text/ParagraphStyle.h"

namespace kit {

class TextAttachment;

// The character an attachment takes in the text (NSAttachmentCharacter).
inline constexpr char16_t AttachmentCharacter = u'\uFFFC';
// The platform's "not found" location.
inline constexpr std::size_t NotFound = static_cast<std::size_t>(-1);

// A range of UTF-16 code units (NSRange), as the platform's strings count.
struct TextRange {
    std::size_t location = 0;
    std::size_t length = 0;
    friend bool operator==(const TextRange&, const TextRange&) = default;
};

// The attributes a character can carry; an absent one is not set.
struct TextAttributes {
    std::optional<Font> font;
    std::optional<Color> foregroundColor;
    std::optional<std::string> toolTip;
    std::optional<ParagraphStyle> paragraphStyle;
    std::optional<double> baselineOffset;
    std::shared_ptr<TextAttachment> attachment;

    // Every attribute `other` sets replaces this one's.
    void merge(const TextAttributes& other);
    friend bool operator==(const TextAttributes&, const TextAttributes&) = default;
};

// Text with attributes per character (NSAttributedString and its mutable form in one value type).
// Lengths and ranges count UTF-16 code units; ranges outside the text are clipped to it.
class AttributedString {
public:
    AttributedString() = default;
    explicit AttributedString(std::string_view utf8, const TextAttributes& attributes = {});
    // attributedStringWithAttachment: one attachment character carrying the attachment.
    static AttributedString withAttachment(std::shared_ptr<TextAttachment> attachment);

    std::size_t length() const { return _characters.size(); }
    std::string string() const;
    static std::string utf8(std::u16string_view characters);
    const std::u16string& characters() const { return _characters; }
    const TextAttributes& attributesAtIndex(std::size_t index) const { return _attributes.at(index); }

    void append(const AttributedString& other);
    void addAttributes(const TextAttributes& attributes, TextRange range);

    // Runs of equal attributes, in order: the text of each run and what it carries.
    struct Run {
        TextRange range;
        std::string text;
        TextAttributes attributes;
    };
    std::vector<Run> runs() const;

    friend bool operator==(const AttributedString&, const AttributedString&) = default;

private:
    std::u16string _characters;
    std::vector<TextAttributes> _attributes;  // one per character
};

}  // namespace kit
