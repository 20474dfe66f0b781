#pragma once

// Internal to the kit's sources: the pixel engine under a graphics context. Never include it from a
// public kit header, which must stay free of Qt.

#include <QColor>
#include <QPainter>

#include "kit/appkit/Color.h"
#include "kit/graphics/GraphicsContext.h"

namespace kit {

// One drawing step: a painter set up in the context's points (its transform, blend mode and current
// colour already applied), antialiased.
struct GraphicsContext::Painting {
    QPainter& painter;
    QColor color;
};

QColor qColor(const Color& color);

}  // namespace kit
