#pragma once

#include <QColor>

#include "kit/appkit/Color.h"

namespace qthost {

// A kit colour as it is drawn (clamped red, green, blue and alpha).
QColor qtColor(const kit::Color& color);
// A colour the user picked, as the kit keeps it: sRGB components and alpha.
kit::Color kitColor(const QColor& color);

}  // namespace qthost
