#pragma once

#include "kit/geometry/Geometry.h"

namespace qthost {

// Between Qt's global coordinates (device-independent pixels, origin at the top left of the virtual
// desktop, y down) and the kit's (points, origin at the lower left of the primary screen, y up). A pixel
// row is one point tall, so the primary screen's top row is at y = its height, as the platform reports it.
class ScreenCoordinates {
public:
    ScreenCoordinates() = default;
    // `primary`: the primary screen's geometry in Qt's coordinates (origin = its top-left corner).
    explicit ScreenCoordinates(const kit::Rect& primary) : _primary(primary) {}

    kit::Rect toKit(const kit::Rect& qtRect) const;
    kit::Point toKit(const kit::Point& qtPoint) const;
    kit::Rect toQt(const kit::Rect& kitRect) const;

private:
    double bottom() const { return _primary.minY() + _primary.height(); }

    kit::Rect _primary;
};

}  // namespace qthost
