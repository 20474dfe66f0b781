#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "kit/appkit/Color.h"
#include "kit/geometry/Geometry.h"
#include "kit/graphics/Bitmap.h"

namespace kit {

class Image;

// How a drawing step combines with what is there: the Core Graphics blend modes, by their values.
enum class BlendMode { Normal = 0, Clear = 16, SourceIn = 18, SourceAtop = 20 };
// The AppKit compositing operations, by their values.
enum class CompositingOperation { Clear = 0, Copy = 1, SourceOver = 2, SourceIn = 3, SourceAtop = 5 };

// A shadow drawn under what is drawn while it is current (NSShadow): offset in points (y up), blur
// radius in points, colour.
struct Shadow {
    Size offset;
    double blurRadius = 0.0;
    Color color = Color::black().withAlpha(1.0 / 3.0);
};

// Where a context's pixels really live when they are not its own (a bitmap context on a caller's buffer):
// read before every drawing step and written after it, so the caller's bytes always hold the drawing.
class GraphicsBacking {
public:
    virtual ~GraphicsBacking() = default;
    virtual void load(Bitmap& pixels) const = 0;
    virtual void store(const Bitmap& pixels) = 0;
};

// A drawing destination with its graphics state (NSGraphicsContext and the Core Graphics context behind
// it, in one): pixels at `scale` pixels per point, points unflipped (y up) unless `flipped`. Drawing is
// antialiased; every step changes only the pixels its own shape covers.
class GraphicsContext {
public:
    GraphicsContext(Bitmap pixels, double scale, bool flipped = false, GraphicsBacking* backing = nullptr);
    ~GraphicsContext();
    GraphicsContext(const GraphicsContext&) = delete;
    GraphicsContext& operator=(const GraphicsContext&) = delete;

    // The context drawing goes to now, and the process-wide stack that saving keeps: saving pushes the
    // current context and its state, restoring brings back both.
    static GraphicsContext* currentContext();
    static void setCurrentContext(GraphicsContext* context);
    static void saveGraphicsState();
    static void restoreGraphicsState();

    double scale() const { return _scale; }
    bool isFlipped() const { return _flipped; }
    const Bitmap& bitmap() const { return _pixels; }
    Bitmap takeBitmap() { return std::move(_pixels); }

    // --- State (CGContextSaveGState and friends); NSColor set, NSShadow set.
    void saveGState();
    void restoreGState();
    void setBlendMode(BlendMode mode);
    void setShadow(std::optional<Shadow> shadow);
    void setColor(const Color& color);

    // --- Drawing
    void clearRect(const Rect& rect);
    void fillOval(const Rect& rect);
    void strokeOval(const Rect& rect, double lineWidth);
    // NSRectFillUsingOperation: the current colour with `operation`, whatever the blend mode.
    void fillRect(const Rect& rect, CompositingOperation operation);
    // NSGradient drawInRect:angle: from `start` to `end` along `angle` degrees (0 rightward, 90 upward).
    void drawLinearGradient(const Rect& rect, const Color& start, const Color& end, double angle);
    // An empty `fromRect` is the whole image; `fraction` is the opacity.
    void drawImage(const Image& image, const Rect& rect, const Rect& fromRect, CompositingOperation operation,
                   double fraction);
    // Everything drawn until the matching end goes to a group of its own, then is composited at once with
    // the blend mode and shadow current when the group began; inside it those start afresh.
    void beginTransparencyLayer(const Rect& rect);
    void endTransparencyLayer();

    struct Painting;  // the kit's own drawing code reaches the pixel engine through this
    void paint(const std::function<void(Painting&)>& draw);

private:
    struct State;
    struct Layer;
    void draw(const std::function<void(Painting&)>& step, std::optional<int> modeOverride = std::nullopt);

    Bitmap _pixels;
    double _scale;
    bool _flipped;
    GraphicsBacking* _backing;
    std::unique_ptr<State> _state;
};

}  // namespace kit
