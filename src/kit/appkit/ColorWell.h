#pragma once

#include "kit/appkit/Color.h"
#include "kit/appkit/Control.h"

namespace kit {

// A colour well (NSColorWell). Setting its colour from code sends no action; a user's pick does.
class ColorWell : public Control {
public:
    using Control::Control;

    const Color& color() const { return _color; }
    void setColor(const Color& color) {
        _color = color;
        shownStateDidChange();
    }
    // The user picked `color`: store it and send the action.
    void pickColor(const Color& color);

private:
    Color _color = Color::white();
};

}  // namespace kit
