#pragma once

// Internal to the kit's sources: turns a kit path into Qt's, for filling and hit-testing. Never include
// it from a public kit header, which must stay free of Qt.

#include <QPainterPath>

#include "kit/quartz/Path.h"

namespace kit {

// The path's segments with the non-zero winding rule kit paths fill with.
QPainterPath painterPath(const Path& path);

}  // namespace kit
