#include "kit/appkit/ColorWell.h"

namespace kit {

void ColorWell::pickColor(const Color& color) {
    _color = color;
    sendAction();
}

}  // namespace kit
