#include "kit/quartz/Path.h"

#include "kit/quartz/PainterPath.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <numbers>
#include <optional>

namespace kit {

namespace {

using Segment = Path::Segment;

Point add(Point a, Point b) {
    return {a.x + b.x, a.y + b.y};
}
Point subtract(Point a, Point b) {
    return {a.x - b.x, a.y - b.y};
}
Point scaled(Point a, double factor) {
    return {a.x * factor, a.y * factor};
}
double dot(Point a, Point b) {
    return a.x * b.x + a.y * b.y;
}
double cross(Point a, Point b) {
    return a.x * b.y - a.y * b.x;
}
Point normalized(Point a) {
    return scaled(a, 1.0 / std::hypot(a.x, a.y));
}
Point interpolated(Point from, Point to, double t) {
    return add(from, scaled(subtract(to, from), t));
}
bool isFinite(Point a) {
    return std::isfinite(a.x) && std::isfinite(a.y);
}

// Control-point distance of a cubic Bézier that follows a quarter ellipse, as a fraction of its radius.
constexpr double QuarterArcKappa = 0.5522847498307936;

// Turns path elements into drawing commands, following the current point and the subpath's start.
class SegmentBuilder {
public:
    void moveTo(Point point) {
        _segments.push_back({Segment::Kind::MoveTo, point, {}, {}});
        _current = _subpathStart = point;
    }

    // Without a current point a line has nowhere to start from, so it begins a subpath instead.
    void lineTo(Point point) {
        if (!_current) {
            moveTo(point);
            return;
        }
        _segments.push_back({Segment::Kind::LineTo, point, {}, {}});
        _current = point;
    }

    void arcToPoint(Point corner, Point end, double radius) {
        if (!_current) {
            moveTo(corner);
            return;
        }
        const Point start = *_current;
        // Degenerate corners (a zero-length side, both sides on one line, no radius) give a line to
        // the corner, as the platform draws them; so do coordinates that are not finite.
        if (!(radius > 0.0) || !std::isfinite(radius) || !isFinite(start) || !isFinite(corner) ||
            !isFinite(end) || start == corner || corner == end ||
            cross(subtract(start, corner), subtract(end, corner)) == 0.0) {
            lineTo(corner);
            return;
        }
        const Point towardStart = normalized(subtract(start, corner));
        const Point towardEnd = normalized(subtract(end, corner));
        const double halfAngle = std::acos(std::clamp(dot(towardStart, towardEnd), -1.0, 1.0)) / 2.0;
        const double tangentDistance = radius / std::tan(halfAngle);
        const Point arcStart = add(corner, scaled(towardStart, tangentDistance));
        const Point arcEnd = add(corner, scaled(towardEnd, tangentDistance));
        const Point centre =
            add(corner, scaled(normalized(add(towardStart, towardEnd)), radius / std::sin(halfAngle)));
        lineTo(arcStart);
        const double startAngle = std::atan2(arcStart.y - centre.y, arcStart.x - centre.x);
        const double endAngle = std::atan2(arcEnd.y - centre.y, arcEnd.x - centre.x);
        arc(centre, radius, startAngle, std::remainder(endAngle - startAngle, 2.0 * std::numbers::pi));
        _current = arcEnd;
    }

    void roundedRect(const Rect& rect, double cornerWidth, double cornerHeight) {
        const double minX = std::min(rect.minX(), rect.maxX()), maxX = std::max(rect.minX(), rect.maxX());
        const double minY = std::min(rect.minY(), rect.maxY()), maxY = std::max(rect.minY(), rect.maxY());
        if (!(maxX > minX) || !(maxY > minY) || !isFinite({minX, minY}) || !isFinite({maxX, maxY})) {
            return;
        }
        const double rx = std::clamp(std::isnan(cornerWidth) ? 0.0 : cornerWidth, 0.0, (maxX - minX) / 2.0);
        const double ry = std::clamp(std::isnan(cornerHeight) ? 0.0 : cornerHeight, 0.0, (maxY - minY) / 2.0);
        // Counter-clockwise from the bottom edge, like a plain rectangle.
        moveTo({minX + rx, minY});
        lineTo({maxX - rx, minY});
        corner({maxX, minY}, {maxX, minY + ry});
        lineTo({maxX, maxY - ry});
        corner({maxX, maxY}, {maxX - rx, maxY});
        lineTo({minX + rx, maxY});
        corner({minX, maxY}, {minX, maxY - ry});
        lineTo({minX, minY + ry});
        corner({minX, minY}, {minX + rx, minY});
        close();
    }

    void close() {
        if (!_current) {
            return;
        }
        _segments.push_back({Segment::Kind::Close, {}, {}, {}});
        _current = _subpathStart;
    }

    std::vector<Segment> take() { return std::move(_segments); }

private:
    void curveTo(Point control1, Point control2, Point end) {
        _segments.push_back({Segment::Kind::CurveTo, end, control1, control2});
        _current = end;
    }

    // A quarter ellipse from the current point to `end`, bending around the rectangle's `cornerPoint`.
    void corner(Point cornerPoint, Point end) {
        const Point start = *_current;
        curveTo(interpolated(start, cornerPoint, QuarterArcKappa),
                interpolated(end, cornerPoint, QuarterArcKappa), end);
    }

    // A circular arc in pieces of at most a quarter turn, each one cubic Bézier curve.
    void arc(Point centre, double radius, double startAngle, double sweep) {
        // The tolerance keeps an exact quarter turn, give or take rounding, in one piece.
        const double quarterTurns = std::fabs(sweep) / (std::numbers::pi / 2.0);
        const int pieces = std::max(1, static_cast<int>(std::ceil(quarterTurns - 1e-9)));
        const double step = sweep / pieces;
        const double handle = radius * 4.0 / 3.0 * std::tan(step / 4.0);
        for (int i = 0; i < pieces; ++i) {
            const double from = startAngle + step * i;
            const double to = from + step;
            const Point a = add(centre, {radius * std::cos(from), radius * std::sin(from)});
            const Point b = add(centre, {radius * std::cos(to), radius * std::sin(to)});
            curveTo(add(a, {-handle * std::sin(from), handle * std::cos(from)}),
                    subtract(b, {-handle * std::sin(to), handle * std::cos(to)}), b);
        }
    }

    std::vector<Segment> _segments;
    std::optional<Point> _current;
    Point _subpathStart;
};

}  // namespace

QPainterPath painterPath(const Path& kitPath) {
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    for (const Path::Segment& segment : kitPath.segments()) {
        const QPointF point(segment.point.x, segment.point.y);
        switch (segment.kind) {
            case Path::Segment::Kind::MoveTo:
                path.moveTo(point);
                break;
            case Path::Segment::Kind::LineTo:
                path.lineTo(point);
                break;
            case Path::Segment::Kind::CurveTo:
                path.cubicTo(QPointF(segment.control1.x, segment.control1.y),
                             QPointF(segment.control2.x, segment.control2.y), point);
                break;
            case Path::Segment::Kind::Close:
                path.closeSubpath();
                break;
        }
    }
    return path;
}

std::shared_ptr<Path> Path::createMutable() {
    try {
        return std::make_shared<Path>();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void Path::moveTo(Point point) {
    _elements.push_back({ElementKind::MoveTo, point, {}, {}, 0.0, 0.0});
}

void Path::addLineTo(Point point) {
    _elements.push_back({ElementKind::LineTo, point, {}, {}, 0.0, 0.0});
}

void Path::addArcToPoint(Point tangentPoint, Point endPoint, double radius) {
    _elements.push_back({ElementKind::ArcToPoint, tangentPoint, endPoint, {}, radius, 0.0});
}

void Path::addRoundedRect(const Rect& rect, double cornerWidth, double cornerHeight) {
    _elements.push_back({ElementKind::RoundedRect, {}, {}, rect, cornerWidth, cornerHeight});
}

void Path::closeSubpath() {
    _elements.push_back({ElementKind::Close, {}, {}, {}, 0.0, 0.0});
}

bool Path::containsPoint(Point point) const {
    return painterPath(*this).contains(QPointF(point.x, point.y));
}

Rect Path::boundingBox() const {
    const QRectF box = painterPath(*this).boundingRect();
    return Rect(box.x(), box.y(), box.width(), box.height());
}

std::vector<Path::Segment> Path::segments() const {
    SegmentBuilder builder;
    for (const Element& element : _elements) {
        switch (element.kind) {
            case ElementKind::MoveTo:
                builder.moveTo(element.point);
                break;
            case ElementKind::LineTo:
                builder.lineTo(element.point);
                break;
            case ElementKind::ArcToPoint:
                builder.arcToPoint(element.point, element.point2, element.radius);
                break;
            case ElementKind::RoundedRect:
                builder.roundedRect(element.rect, element.radius, element.radius2);
                break;
            case ElementKind::Close:
                builder.close();
                break;
        }
    }
    return builder.take();
}

}  // namespace kit
