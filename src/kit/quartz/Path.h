#pragma once

#include <memory>
#include <vector>

#include "kit/geometry/Geometry.h"

namespace kit {

// A mutable path of lines, tangent arcs and rounded rectangles, in the unflipped coordinates of the layer
// that shows it (CGMutablePath).
class Path {
public:
    enum class ElementKind { MoveTo, LineTo, ArcToPoint, RoundedRect, Close };
    struct Element {
        ElementKind kind;
        Point point;     // MoveTo / LineTo; the tangent corner for ArcToPoint
        Point point2;    // ArcToPoint: the point the second tangent runs toward
        Rect rect;       // RoundedRect
        double radius;   // ArcToPoint: radius; RoundedRect: corner width
        double radius2;  // RoundedRect: corner height
    };

    // CGPathCreateMutable; nullptr when no path can be made.
    static std::shared_ptr<Path> createMutable();

    void moveTo(Point point);
    void addLineTo(Point point);
    // CGPathAddArcToPoint: a line from the current point to where the arc of `radius` touches the line
    // current point → `tangentPoint`, then the arc to where it touches tangentPoint → `endPoint`.
    void addArcToPoint(Point tangentPoint, Point endPoint, double radius);
    // CGPathAddRoundedRect: a closed rounded rectangle as a subpath of its own.
    void addRoundedRect(const Rect& rect, double cornerWidth, double cornerHeight);
    void closeSubpath();

    const std::vector<Element>& elements() const { return _elements; }
    bool isEmpty() const { return _elements.empty(); }
    // Whether the filled path (non-zero winding) covers `point`.
    bool containsPoint(Point point) const;
    // The smallest rectangle holding every point the filled path covers.
    Rect boundingBox() const;

    // The outline as drawing commands: tangent arcs and rounded corners become cubic Bézier curves.
    struct Segment {
        enum class Kind { MoveTo, LineTo, CurveTo, Close };
        Kind kind;
        Point point;     // where the segment ends (not used by Close)
        Point control1;  // CurveTo
        Point control2;
    };
    std::vector<Segment> segments() const;

private:
    std::vector<Element> _elements;
};

}  // namespace kit
