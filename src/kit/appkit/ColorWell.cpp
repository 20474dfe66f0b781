#include "kit/appkit/ColorWell.h"

namespace kit {

void ColorWell::pickColor(const Color& color) {
    _color = color;
    shownStateDidChange();
    sendAction();
}

}  // namespace kit
