#pragma once

#include <QFont>

#include "kit/appkit/Font.h"

namespace qthost {

// The desktop's face for a kit font. Kit sizes are relative to the kit's system size, which stands for the
// desktop's interface font: a 13-point system font is the desktop's own font at its own size, so controls
// look as every other application's do.
QFont qtFont(const kit::Font& font);

}  // namespace qthost
