#pragma once

#include <memory>
#include <string>

#include "kit/appkit/Control.h"

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

private:
    std::string _stringValue;
    bool _bezeled = true;
    bool _bordered = false;
    bool _selectable = true;
    bool _editable = true;
    bool _drawsBackground = true;
};

}  // namespace kit
