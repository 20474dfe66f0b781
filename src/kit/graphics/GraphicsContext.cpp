#include "kit/graphics/GraphicsContext.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "kit/graphics/Image.h"
#include "kit/graphics/Painting.h"

namespace kit {

namespace {

GraphicsContext*& current() {
    static thread_local GraphicsContext* context = nullptr;
    return context;
}

std::vector<GraphicsContext*>& savedContexts() {
    static thread_local std::vector<GraphicsContext*> saved;
    return saved;
}

QPainter::CompositionMode compositionMode(BlendMode mode) {
    switch (mode) {
        case BlendMode::Clear:
            return QPainter::CompositionMode_Clear;
        case BlendMode::SourceIn:
            return QPainter::CompositionMode_SourceIn;
        case BlendMode::SourceAtop:
            return QPainter::CompositionMode_SourceAtop;
        case BlendMode::Normal:
            break;
    }
    return QPainter::CompositionMode_SourceOver;
}

QPainter::CompositionMode compositionMode(CompositingOperation operation) {
    switch (operation) {
        case CompositingOperation::Clear:
            return QPainter::CompositionMode_Clear;
        case CompositingOperation::Copy:
            return QPainter::CompositionMode_Source;
        case CompositingOperation::SourceIn:
            return QPainter::CompositionMode_SourceIn;
        case CompositingOperation::SourceAtop:
            return QPainter::CompositionMode_SourceAtop;
        case CompositingOperation::SourceOver:
            break;
    }
    return QPainter::CompositionMode_SourceOver;
}

QImage wrap(Bitmap& bitmap) {
    return QImage(reinterpret_cast<uchar*>(bitmap.pixels()), bitmap.width(), bitmap.height(),
                  bitmap.width() * 4, QImage::Format_ARGB32_Premultiplied);
}

QImage transparentImage(const QSize& size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QRectF qRect(const Rect& rect) {
    return QRectF(rect.minX(), rect.minY(), rect.width(), rect.height());
}

// A normalised Gaussian of standard deviation `sigma`, three deviations to each side.
std::vector<double> gaussianKernel(double sigma) {
    const int reach = static_cast<int>(std::ceil(3.0 * sigma));
    std::vector<double> kernel(static_cast<std::size_t>(2 * reach + 1));
    double sum = 0.0;
    for (int i = -reach; i <= reach; ++i) {
        sum += kernel[static_cast<std::size_t>(i + reach)] = std::exp(-(i * i) / (2.0 * sigma * sigma));
    }
    for (double& weight : kernel) {
        weight /= sum;
    }
    return kernel;
}

// One pass of a separable blur over a row-major alpha plane, along x (`step` 1) or y (`step` width).
std::vector<double> blurPass(const std::vector<double>& alpha, int width, int height, bool alongX,
                             const std::vector<double>& kernel) {
    const int reach = static_cast<int>(kernel.size() / 2);
    std::vector<double> blurred(alpha.size(), 0.0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            double sum = 0.0;
            for (int k = -reach; k <= reach; ++k) {
                const int sx = alongX ? x + k : x;
                const int sy = alongX ? y : y + k;
                if (sx >= 0 && sy >= 0 && sx < width && sy < height) {
                    sum += kernel[static_cast<std::size_t>(k + reach)] *
                           alpha[static_cast<std::size_t>(sy) * width + sx];
                }
            }
            blurred[static_cast<std::size_t>(y) * width + x] = sum;
        }
    }
    return blurred;
}

// The shadow `content` casts: its alpha, blurred (the blur radius is twice the Gaussian's deviation), in
// the shadow's colour. QPainter has no blur of its own.
QImage shadowImage(const QImage& content, const Shadow& shadow, double scale) {
    const int width = content.width();
    const int height = content.height();
    std::vector<double> alpha(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(content.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            alpha[static_cast<std::size_t>(y) * width + x] = qAlpha(line[x]) / 255.0;
        }
    }
    const double sigma = shadow.blurRadius * scale / 2.0;
    if (sigma > 0.0) {
        const std::vector<double> kernel = gaussianKernel(sigma);
        alpha = blurPass(blurPass(alpha, width, height, true, kernel), width, height, false, kernel);
    }
    const Color::RGBA colour = shadow.color.rgba();
    QImage image(content.size(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const double a =
                std::clamp(alpha[static_cast<std::size_t>(y) * width + x], 0.0, 1.0) * colour.alpha;
            const auto channel = [a](double value) {
                return static_cast<int>(std::lround(value * a * 255.0));
            };
            line[x] = qRgba(channel(colour.red), channel(colour.green), channel(colour.blue),
                            static_cast<int>(std::lround(a * 255.0)));
        }
    }
    return image;
}

}  // namespace

QColor qColor(const Color& color) {
    const Color::RGBA rgba = color.rgba();
    return QColor::fromRgbF(static_cast<float>(rgba.red), static_cast<float>(rgba.green),
                            static_cast<float>(rgba.blue), static_cast<float>(rgba.alpha));
}

struct GraphicsContext::State {
    struct GState {
        BlendMode blendMode = BlendMode::Normal;
        std::optional<Shadow> shadow;
        Color color = Color::black();
    };
    struct Layer {
        QImage image;
        std::size_t depth;  // the state stack's size before the group began
    };
    std::vector<GState> stack{GState{}};
    std::vector<Layer> layers;
    GState& top() { return stack.back(); }
};

GraphicsContext::GraphicsContext(Bitmap pixels, double scale, bool flipped, GraphicsBacking* backing)
    : _pixels(std::move(pixels)),
      _scale(scale),
      _flipped(flipped),
      _backing(backing),
      _state(std::make_unique<State>()) {}

GraphicsContext::~GraphicsContext() {
    if (current() == this) {
        current() = nullptr;
    }
    std::replace(savedContexts().begin(), savedContexts().end(), this,
                 static_cast<GraphicsContext*>(nullptr));
}

GraphicsContext* GraphicsContext::currentContext() {
    return current();
}

void GraphicsContext::setCurrentContext(GraphicsContext* context) {
    current() = context;
}

void GraphicsContext::saveGraphicsState() {
    savedContexts().push_back(current());
    if (current()) {
        current()->saveGState();
    }
}

void GraphicsContext::restoreGraphicsState() {
    if (savedContexts().empty()) {
        return;
    }
    current() = savedContexts().back();
    savedContexts().pop_back();
    if (current()) {
        current()->restoreGState();
    }
}

void GraphicsContext::saveGState() {
    _state->stack.push_back(_state->top());
}

void GraphicsContext::restoreGState() {
    if (_state->stack.size() > 1) {
        _state->stack.pop_back();
    }
}

void GraphicsContext::setBlendMode(BlendMode mode) {
    _state->top().blendMode = mode;
}

void GraphicsContext::setShadow(std::optional<Shadow> shadow) {
    _state->top().shadow = std::move(shadow);
}

void GraphicsContext::setColor(const Color& color) {
    _state->top().color = color;
}

void GraphicsContext::paint(const std::function<void(Painting&)>& draw) {
    this->draw(draw);
}

void GraphicsContext::draw(const std::function<void(Painting&)>& step, std::optional<int> modeOverride) {
    if (_pixels.isEmpty()) {
        return;
    }
    if (_backing) {
        _backing->load(_pixels);
    }
    QImage target = wrap(_pixels);
    QImage& surface = _state->layers.empty() ? target : _state->layers.back().image;
    const State::GState& state = _state->top();
    const auto mode = modeOverride ? static_cast<QPainter::CompositionMode>(*modeOverride)
                                   : compositionMode(state.blendMode);
    const auto run = [&](QImage& image, QPainter::CompositionMode stepMode) {
        QPainter painter(&image);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
        painter.setTransform(_flipped ? QTransform::fromScale(_scale, _scale)
                                      : QTransform(_scale, 0, 0, -_scale, 0, image.height()));
        painter.setCompositionMode(stepMode);
        Painting painting{painter, qColor(state.color)};
        step(painting);
    };
    if (state.shadow && modeOverride != QPainter::CompositionMode_Clear) {
        QImage content = transparentImage(surface.size());
        run(content, QPainter::CompositionMode_SourceOver);
        QImage shadowed = shadowImage(content, *state.shadow, _scale);
        QPainter combine(&shadowed);
        combine.drawImage(0, 0, content);
        combine.end();
        QPainter painter(&surface);
        painter.setCompositionMode(mode);
        const double dy = _flipped ? state.shadow->offset.height : -state.shadow->offset.height;
        painter.drawImage(QPointF(state.shadow->offset.width * _scale, dy * _scale), shadowed);
    } else {
        run(surface, mode);
    }
    if (_backing) {
        _backing->store(_pixels);
    }
}

void GraphicsContext::clearRect(const Rect& rect) {
    draw([&](Painting& painting) { painting.painter.fillRect(qRect(rect), Qt::black); },
         QPainter::CompositionMode_Clear);
}

void GraphicsContext::fillOval(const Rect& rect) {
    draw([&](Painting& painting) {
        painting.painter.setPen(Qt::NoPen);
        painting.painter.setBrush(painting.color);
        painting.painter.drawEllipse(qRect(rect));
    });
}

void GraphicsContext::strokeOval(const Rect& rect, double lineWidth) {
    draw([&](Painting& painting) {
        painting.painter.setPen(QPen(painting.color, lineWidth));
        painting.painter.setBrush(Qt::NoBrush);
        painting.painter.drawEllipse(qRect(rect));
    });
}

void GraphicsContext::fillRect(const Rect& rect, CompositingOperation operation) {
    draw([&](Painting& painting) { painting.painter.fillRect(qRect(rect), painting.color); },
         compositionMode(operation));
}

void GraphicsContext::drawLinearGradient(const Rect& rect, const Color& start, const Color& end,
                                         double angle) {
    const double radians = angle * std::numbers::pi / 180.0;
    const double dx = std::cos(radians);
    const double dy = std::sin(radians);
    const double reach = (std::abs(rect.width() * dx) + std::abs(rect.height() * dy)) / 2.0;
    QLinearGradient gradient(QPointF(rect.midX() - dx * reach, rect.midY() - dy * reach),
                             QPointF(rect.midX() + dx * reach, rect.midY() + dy * reach));
    gradient.setColorAt(0.0, qColor(start));
    gradient.setColorAt(1.0, qColor(end));
    draw([&](Painting& painting) { painting.painter.fillRect(qRect(rect), gradient); });
}

void GraphicsContext::drawImage(const Image& image, const Rect& rect, const Rect& fromRect,
                                CompositingOperation operation, double fraction) {
    const Size size = image.size();
    if (size.width <= 0.0 || size.height <= 0.0 || isEmptyRect(rect)) {
        return;
    }
    Bitmap pixels = image.bitmapForScale(_scale * rect.width() / size.width);
    if (pixels.isEmpty()) {
        return;
    }
    const Rect from = isEmptyRect(fromRect) ? Rect({0.0, 0.0}, size) : fromRect;
    const double sx = pixels.width() / size.width;
    const double sy = pixels.height() / size.height;
    // Bitmap rows run from the top; image points from the bottom.
    const QRectF source(from.minX() * sx, (size.height - from.maxY()) * sy, from.width() * sx,
                        from.height() * sy);
    const QImage picture = wrap(pixels);
    draw(
        [&](Painting& painting) {
            painting.painter.setOpacity(std::clamp(fraction, 0.0, 1.0));
            if (_flipped) {
                painting.painter.drawImage(qRect(rect), picture, source);
                return;
            }
            painting.painter.translate(rect.minX(), rect.maxY());
            painting.painter.scale(1.0, -1.0);
            painting.painter.drawImage(QRectF(0.0, 0.0, rect.width(), rect.height()), picture, source);
        },
        compositionMode(operation));
}

void GraphicsContext::beginTransparencyLayer(const Rect& /*rect*/) {
    const QSize size(_pixels.width(), _pixels.height());
    _state->layers.push_back({transparentImage(size), _state->stack.size()});
    saveGState();
    _state->top().blendMode = BlendMode::Normal;
    _state->top().shadow.reset();
}

void GraphicsContext::endTransparencyLayer() {
    if (_state->layers.empty()) {
        return;
    }
    State::Layer layer = std::move(_state->layers.back());
    _state->layers.pop_back();
    _state->stack.resize(layer.depth);
    draw([&](Painting& painting) {
        painting.painter.resetTransform();
        painting.painter.drawImage(0, 0, layer.image);
    });
}

}  // namespace kit
