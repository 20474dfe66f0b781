#pragma once

#include <memory>
#include <optional>
#include <string>

#include "kit/appkit/Color.h"
#include "kit/appkit/Control.h"
#include "kit/text/AttributedString.h"

namespace kit {

// A text field (NSTextField): an editable, bezeled box of text by default, or a label.
class TextField : public Control {
public:
    using Control::Control;

    // A label: no bezel, border or background, neither editable nor selectable, sized to its text.
    static std::unique_ptr<TextField> labelWithString(const std::string& string);

    const std::string& stringValue() const { return _stringValue; }
    virtual void setStringValue(const std::string& string) {
        _stringValue = string;
        _attributedStringValue.reset();
        shownStateDidChange();
    }

    bool isBezeled() const { return _bezeled; }
    void setBezeled(bool bezeled) {
        _bezeled = bezeled;
        shownStateDidChange();
    }
    bool isBordered() const { return _bordered; }
    void setBordered(bool bordered) {
        _bordered = bordered;
        shownStateDidChange();
    }
    bool isSelectable() const { return _selectable; }
    void setSelectable(bool selectable) {
        _selectable = selectable;
        shownStateDidChange();
    }
    bool isEditable() const { return _editable; }
    void setEditable(bool editable) {
        _editable = editable;
        shownStateDidChange();
    }
    bool drawsBackground() const { return _drawsBackground; }
    void setDrawsBackground(bool drawsBackground) {
        _drawsBackground = drawsBackground;
        shownStateDidChange();
    }

    // --- Rich text and measuring
    const Color& textColor() const { return _textColor; }
    void setTextColor(const Color& color) {
        _textColor = color;
        shownStateDidChange();
    }
    // The text with its attributes; a plain string set later replaces it.
    const std::optional<AttributedString>& attributedStringValue() const { return _attributedStringValue; }
    void setAttributedStringValue(AttributedString string);
    // The size the text needs when laid out within `bounds`: lines wrapped at word breaks to the bounds'
    // width, no larger than the bounds.
    Size cellSizeForBounds(const Rect& bounds) const;

private:
    std::string _stringValue;
    std::optional<AttributedString> _attributedStringValue;
    Color _textColor = Color::labelColor();
    bool _bezeled = true;
    bool _bordered = false;
    bool _selectable = true;
    bool _editable = true;
    bool _drawsBackground = true;
};

}  // namespace kit
