#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "kit/appkit/Color.h"
#include "kit/geometry/Geometry.h"
#include "kit/quartz/Path.h"

namespace kit {

// A node of a layer tree (CALayer). Geometry is unflipped: a layer's bounds have their origin at the
// lower left and a sublayer's frame is in its superlayer's bounds. Layers change at once: there are no
// implicit animations.
class Layer {
public:
    Layer() = default;
    Layer(const Layer&) = delete;
    Layer& operator=(const Layer&) = delete;
    virtual ~Layer();

    static std::shared_ptr<Layer> make() { return std::make_shared<Layer>(); }

    Rect frame() const { return _frame; }
    void setFrame(const Rect& frame) { _frame = frame; }
    // Origin (0, 0), the frame's size.
    Rect bounds() const { return Rect(Point{}, _frame.size); }

    const std::optional<Color>& backgroundColor() const { return _backgroundColor; }
    void setBackgroundColor(std::optional<Color> color) { _backgroundColor = std::move(color); }

    void addSublayer(std::shared_ptr<Layer> layer);
    void removeFromSuperlayer();
    const std::vector<std::shared_ptr<Layer>>& sublayers() const { return _sublayers; }
    Layer* superlayer() const { return _superlayer; }

    // Only where the mask's content is opaque does this layer (with its sublayers) show; nullptr removes it.
    const std::shared_ptr<Layer>& mask() const { return _mask; }
    void setMask(std::shared_ptr<Layer> mask) { _mask = std::move(mask); }

private:
    Rect _frame;
    std::optional<Color> _backgroundColor;
    std::vector<std::shared_ptr<Layer>> _sublayers;
    Layer* _superlayer = nullptr;
    std::shared_ptr<Layer> _mask;
};

// CAGradientLayer: an axial gradient through its colours, from startPoint to endPoint in unit
// coordinates of its bounds ((0, 0) lower left, (1, 1) upper right).
class GradientLayer : public Layer {
public:
    static std::shared_ptr<GradientLayer> make() { return std::make_shared<GradientLayer>(); }

    const std::vector<Color>& colors() const { return _colors; }
    void setColors(std::vector<Color> colors) { _colors = std::move(colors); }
    // Stop positions 0…1, one per colour; empty: evenly spaced.
    const std::vector<double>& locations() const { return _locations; }
    void setLocations(std::vector<double> locations) { _locations = std::move(locations); }
    Point startPoint() const { return _startPoint; }
    void setStartPoint(Point point) { _startPoint = point; }
    Point endPoint() const { return _endPoint; }
    void setEndPoint(Point point) { _endPoint = point; }

private:
    std::vector<Color> _colors;
    std::vector<double> _locations;
    Point _startPoint{0.5, 0.0};
    Point _endPoint{0.5, 1.0};
};

// CAShapeLayer: fills its path (non-zero winding) with its fill colour, opaque black by default.
class ShapeLayer : public Layer {
public:
    static std::shared_ptr<ShapeLayer> make() { return std::make_shared<ShapeLayer>(); }

    const std::shared_ptr<const Path>& path() const { return _path; }
    void setPath(std::shared_ptr<const Path> path) { _path = std::move(path); }
    const std::optional<Color>& fillColor() const { return _fillColor; }
    void setFillColor(std::optional<Color> color) { _fillColor = std::move(color); }

private:
    std::shared_ptr<const Path> _path;
    std::optional<Color> _fillColor = Color::black();
};

}  // namespace kit
