#include "kit/geometry/Geometry.h"

namespace kit {

Rect insetRect(const Rect& rect, double dx, double dy) {
    return Rect(rect.origin.x + dx, rect.origin.y + dy, rect.size.width - 2.0 * dx,
                rect.size.height - 2.0 * dy);
}

Rect offsetRect(const Rect& rect, double dx, double dy) {
    return Rect(rect.origin.x + dx, rect.origin.y + dy, rect.size.width, rect.size.height);
}

bool isEmptyRect(const Rect& rect) {
    return !(rect.size.width > 0.0) || !(rect.size.height > 0.0);
}

bool intersectsRect(const Rect& a, const Rect& b) {
    if (isEmptyRect(a) || isEmptyRect(b)) {
        return false;
    }
    return a.minX() < b.maxX() && b.minX() < a.maxX() && a.minY() < b.maxY() && b.minY() < a.maxY();
}

bool pointInRect(const Point& point, const Rect& rect) {
    return point.x >= rect.minX() && point.x < rect.maxX() && point.y >= rect.minY() && point.y < rect.maxY();
}

bool equalRects(const Rect& a, const Rect& b) {
    return a == b;
}

}  // namespace kit
