#include "hosts/qt/ScreenCoordinates.h"

namespace qthost {

kit::Rect ScreenCoordinates::toKit(const kit::Rect& qtRect) const {
    return kit::Rect(qtRect.minX() - _primary.minX(), bottom() - qtRect.maxY(), qtRect.width(),
                     qtRect.height());
}

kit::Point ScreenCoordinates::toKit(const kit::Point& qtPoint) const {
    return kit::Point{qtPoint.x - _primary.minX(), bottom() - qtPoint.y};
}

kit::Rect ScreenCoordinates::toQt(const kit::Rect& kitRect) const {
    return kit::Rect(kitRect.minX() + _primary.minX(), bottom() - kitRect.maxY(), kitRect.width(),
                     kitRect.height());
}

}  // namespace qthost
