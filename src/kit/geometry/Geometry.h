#pragma once

namespace kit {

// Points, sizes and rectangles in double-precision points. Unless a name says otherwise, coordinates are
// unflipped: the origin is at the lower left and y grows upward.
struct Point {
    double x = 0.0;
    double y = 0.0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    double width = 0.0;
    double height = 0.0;
    friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
    Point origin;
    Size size;

    Rect() = default;
    Rect(double x, double y, double width, double height) : origin{x, y}, size{width, height} {}
    Rect(Point origin, Size size) : origin(origin), size(size) {}

    double minX() const { return origin.x; }
    double minY() const { return origin.y; }
    double maxX() const { return origin.x + size.width; }
    double maxY() const { return origin.y + size.height; }
    double midX() const { return origin.x + size.width * 0.5; }
    double midY() const { return origin.y + size.height * 0.5; }
    double width() const { return size.width; }
    double height() const { return size.height; }

    // Exact comparison of origin and size, as frame comparisons need.
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct EdgeInsets {
    double top = 0.0;
    double left = 0.0;
    double bottom = 0.0;
    double right = 0.0;
    friend bool operator==(const EdgeInsets&, const EdgeInsets&) = default;
};

// Shrinks the rectangle by dx on the left and right and dy at the bottom and top; negative values grow it.
Rect insetRect(const Rect& rect, double dx, double dy);
Rect offsetRect(const Rect& rect, double dx, double dy);
// True only for an overlap of positive area: touching edges or a zero width or height never intersect.
bool intersectsRect(const Rect& a, const Rect& b);
// Minimum edges count as inside, maximum edges as outside.
bool pointInRect(const Point& point, const Rect& rect);
bool equalRects(const Rect& a, const Rect& b);
// Empty when the width or height is not positive.
bool isEmptyRect(const Rect& rect);

}  // namespace kit
