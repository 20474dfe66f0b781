#pragma once

namespace kit {

enum class TextAlignment { Left = 0, Center = 1, Right = 2, Justified = 3, Natural = 4 };

// How the lines of a paragraph are laid out (NSParagraphStyle); only what the system sets.
struct ParagraphStyle {
    TextAlignment alignment = TextAlignment::Natural;

    static ParagraphStyle defaultParagraphStyle() { return {}; }
    friend bool operator==(const ParagraphStyle&, const ParagraphStyle&) = default;
};

}  // namespace kit
