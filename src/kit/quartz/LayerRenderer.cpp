#include "kit/quartz/LayerRenderer.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include "kit/quartz/PainterPath.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace kit {

namespace {

// Far larger than any window, and within what QPainter's raster engine draws.
constexpr double MaximumPixelsPerSide = 32767.0;

QColor qColor(const Color& color) {
    const Color::RGBA rgba = color.rgba();
    return QColor::fromRgbF(static_cast<float>(rgba.red), static_cast<float>(rgba.green),
                            static_cast<float>(rgba.blue), static_cast<float>(rgba.alpha));
}

// Stop positions as given when there is one valid position per colour, else evenly spaced.
std::vector<double> stopLocations(const GradientLayer& layer) {
    const std::size_t count = layer.colors().size();
    const auto& given = layer.locations();
    if (given.size() == count &&
        std::all_of(given.begin(), given.end(), [](double v) { return std::isfinite(v); })) {
        return given;
    }
    std::vector<double> even(count, 0.0);
    for (std::size_t i = 1; i < count; ++i) {
        even[i] = static_cast<double>(i) / static_cast<double>(count - 1);
    }
    return even;
}

void drawGradient(QPainter& painter, const GradientLayer& layer) {
    const auto& colors = layer.colors();
    if (colors.empty()) {
        return;
    }
    const Size size = layer.bounds().size;
    QLinearGradient gradient(layer.startPoint().x * size.width, layer.startPoint().y * size.height,
                             layer.endPoint().x * size.width, layer.endPoint().y * size.height);
    // The platform blends the stops' straight (not premultiplied) components.
    gradient.setInterpolationMode(QGradient::ComponentInterpolation);
    const std::vector<double> locations = stopLocations(layer);
    for (std::size_t i = 0; i < colors.size(); ++i) {
        gradient.setColorAt(std::clamp(locations[i], 0.0, 1.0), qColor(colors[i]));
    }
    painter.fillRect(QRectF(0.0, 0.0, size.width, size.height), gradient);
}

void drawShape(QPainter& painter, const ShapeLayer& layer) {
    if (layer.path() && layer.fillColor()) {
        painter.fillPath(painterPath(*layer.path()), qColor(*layer.fillColor()));
    }
}

// Paints a layer tree with the painter's transform mapping the current layer's bounds. Layers already
// being painted are skipped, so a mask that is its own layer or an ancestor cannot recurse forever.
class TreePainter {
public:
    void draw(QPainter& painter, const Layer& layer) {
        if (std::find(_drawing.begin(), _drawing.end(), &layer) != _drawing.end()) {
            return;
        }
        _drawing.push_back(&layer);
        if (layer.mask()) {
            drawMasked(painter, layer);
        } else {
            drawContent(painter, layer);
        }
        _drawing.pop_back();
    }

private:
    void drawContent(QPainter& painter, const Layer& layer) {
        if (layer.backgroundColor()) {
            const Size size = layer.bounds().size;
            painter.fillRect(QRectF(0.0, 0.0, size.width, size.height), qColor(*layer.backgroundColor()));
        }
        if (const auto* gradient = dynamic_cast<const GradientLayer*>(&layer)) {
            drawGradient(painter, *gradient);
        } else if (const auto* shape = dynamic_cast<const ShapeLayer*>(&layer)) {
            drawShape(painter, *shape);
        }
        for (const auto& sublayer : layer.sublayers()) {
            drawPlaced(painter, *sublayer);
        }
    }

    // A sublayer or mask sits at its frame's origin in the bounds of the layer that holds it.
    void drawPlaced(QPainter& painter, const Layer& layer) {
        painter.save();
        painter.translate(layer.frame().origin.x, layer.frame().origin.y);
        draw(painter, layer);
        painter.restore();
    }

    // The layer is painted on its own, then kept only where the mask's paint has coverage.
    void drawMasked(QPainter& painter, const Layer& layer) {
        QImage content = blankLayerImage(painter);
        QImage mask = blankLayerImage(painter);
        paintInto(content, painter.worldTransform(), [&](QPainter& p) { drawContent(p, layer); });
        paintInto(mask, painter.worldTransform(), [&](QPainter& p) { drawPlaced(p, *layer.mask()); });
        paintInto(content, QTransform(), [&](QPainter& p) {
            p.setCompositionMode(QPainter::CompositionMode_DestinationIn);
            p.drawImage(0, 0, mask);
        });
        painter.save();
        painter.resetTransform();
        painter.drawImage(0, 0, content);
        painter.restore();
    }

    static QImage blankLayerImage(const QPainter& painter) {
        QImage image(painter.device()->width(), painter.device()->height(),
                     QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        return image;
    }

    template <typename Paint>
    static void paintInto(QImage& image, const QTransform& transform, Paint paint) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setTransform(transform);
        paint(painter);
    }

    std::vector<const Layer*> _drawing;
};

}  // namespace

Bitmap LayerRenderer::render(const Layer& root, double scale) {
    const double width = std::ceil(root.bounds().width() * scale);
    const double height = std::ceil(root.bounds().height() * scale);
    if (!(scale > 0.0) || !(width > 0.0 && width <= MaximumPixelsPerSide) ||
        !(height > 0.0 && height <= MaximumPixelsPerSide)) {
        return {};
    }
    Bitmap bitmap(static_cast<int>(width), static_cast<int>(height));
    if (bitmap.isEmpty()) {
        return bitmap;
    }
    QImage image(reinterpret_cast<uchar*>(bitmap.pixels()), bitmap.width(), bitmap.height(),
                 static_cast<qsizetype>(bitmap.width()) * 4, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // Layers are unflipped; the bitmap's first row is the top.
    painter.translate(0.0, height);
    painter.scale(scale, -scale);
    TreePainter().draw(painter, root);
    return bitmap;
}

}  // namespace kit
