#include "kit/graphics/Bitmap.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <new>

namespace kit {

namespace {

std::uint8_t unpremultiplied(std::uint32_t channel, std::uint32_t alpha) {
    return static_cast<std::uint8_t>(std::min<std::uint32_t>((channel * 255 + alpha / 2) / alpha, 255));
}

}  // namespace

Bitmap::Bitmap(int width, int height) {
    if (width <= 0 || height <= 0) {
        return;
    }
    try {
        _pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0u);
    } catch (const std::bad_alloc&) {
        return;  // too large to hold: an empty bitmap, as for a size that makes no image
    }
    _width = width;
    _height = height;
}

Bitmap::RGBA8 Bitmap::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= _width || y >= _height) {
        return {0, 0, 0, 0};
    }
    const std::uint32_t word = premultipliedPixel(x, y);
    const std::uint32_t alpha = word >> 24;
    if (alpha == 0) {
        return {0, 0, 0, 0};
    }
    return {unpremultiplied((word >> 16) & 0xFF, alpha), unpremultiplied((word >> 8) & 0xFF, alpha),
            unpremultiplied(word & 0xFF, alpha), static_cast<std::uint8_t>(alpha)};
}

void Bitmap::fill(const RGBA8& color) {
    const auto premultiply = [&](std::uint8_t channel) {
        return static_cast<std::uint32_t>((channel * color.alpha + 127) / 255);
    };
    const std::uint32_t word = (static_cast<std::uint32_t>(color.alpha) << 24) |
                               (premultiply(color.red) << 16) | (premultiply(color.green) << 8) |
                               premultiply(color.blue);
    std::fill(_pixels.begin(), _pixels.end(), word);
}

void Bitmap::drawBitmap(const Bitmap& source, int x, int y, double opacity) {
    if (isEmpty() || source.isEmpty() || !(opacity > 0.0)) {
        return;
    }
    QImage target(reinterpret_cast<uchar*>(_pixels.data()), _width, _height,
                  static_cast<qsizetype>(_width) * 4, QImage::Format_ARGB32_Premultiplied);
    const QImage image(reinterpret_cast<const uchar*>(source._pixels.data()), source._width, source._height,
                       static_cast<qsizetype>(source._width) * 4, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&target);
    painter.setOpacity(std::min(opacity, 1.0));
    painter.drawImage(x, y, image);
}

bool Bitmap::writePNG(const std::filesystem::path& path) const {
    if (isEmpty()) {
        return false;
    }
    const QImage image(reinterpret_cast<const uchar*>(_pixels.data()), _width, _height,
                       static_cast<qsizetype>(_width) * 4, QImage::Format_ARGB32_Premultiplied);
    return image.save(QString::fromStdString(path.string()), "PNG");
}

}  // namespace kit
