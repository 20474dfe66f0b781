#pragma once

#include "kit/graphics/Bitmap.h"
#include "kit/quartz/Layer.h"

namespace kit {

// Renders layer trees to pixels (QPainter on a QImage inside, so it runs without a display).
class LayerRenderer {
public:
    // The tree under `root` drawn into a bitmap of root's bounds at `scale` pixels per point. Layer
    // coordinates are unflipped; the bitmap's first row is the top of the root layer.
    static Bitmap render(const Layer& root, double scale = 1.0);
};

}  // namespace kit
